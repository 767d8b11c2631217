#!/usr/bin/env bash
# `verbalune --render` of a 20,000-word English text against the pipeline it
# replaces, side by side: MP3 at 32 kbit/s against `espeak-ng -w` followed by
# `lame -b 32 --cbr -m m`, and WAV against `espeak-ng -w` alone. Best wall
# time of the runs, its CPU time and peak memory, and the ratio.
# Usage: compare-render.sh BUILD_FOLDER [RUNS]
set -euo pipefail
build=${1:-build-bench}
runs=${2:-3}
bin="$build/bin/verbalune"
for tool in espeak-ng lame /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "compare-render: $tool is missing, skipped"; exit 0; }
done
[ -x "$bin" ] || { echo "compare-render: $bin not built"; exit 1; }

work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"
unset VERBALUNE_SPEECH_ENGINE

paragraph="When the morning train was late again, the passengers on the platform began to talk
among themselves. Some of them complained about the weather, others about the timetable, and a
few simply read their newspapers as if nothing had happened. A child asked her mother why trains
could not fly, and the mother, after thinking for a moment, said that the sky was already full of
birds. The old man beside them laughed and told a story about the winter of nineteen sixty three,
when the snow was so deep that the line was closed for eleven days and the village ran out of bread."
words_per_paragraph=$(echo "$paragraph" | wc -w)
n=$(( 20000 / words_per_paragraph ))
for _ in $(seq "$n"); do echo "$paragraph"; echo; done >"$work/story.txt"
echo "text: $(wc -w <"$work/story.txt") words, $(wc -c <"$work/story.txt") bytes"

measure() {  # LABEL COMMAND...
  local label=$1; shift
  local best="" cpu="" rss=""
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S %M" -o "$work/t" "$@" >/dev/null 2>"$work/err" ||
      { cat "$work/err"; return 1; }
    read -r w u s m <"$work/t"
    if [ -z "$best" ] || awk "BEGIN{exit !($w < $best)}"; then
      best=$w; cpu=$(awk "BEGIN{print $u + $s}"); rss=$m
    fi
  done
  printf "%-44s wall %7.2f s  cpu %7.2f s  max RSS %7d KiB\n" "$label" "$best" "$cpu" "$rss"
  last_wall=$best
}

pipeline() {
  espeak-ng -v en-us -f "$work/story.txt" -w "$work/pipe.wav" &&
    lame --quiet -b 32 --cbr -m m "$work/pipe.wav" "$work/pipe.mp3"
}
export -f pipeline
export work

measure "espeak-ng -w + lame -b 32 --cbr -m m" bash -c pipeline
pipe=$last_wall
measure "verbalune --render --format mp3 --bitrate 32" \
  "$bin" --render --format mp3 --bitrate 32 --out "$work/out" "$work/story.txt"
ours=$last_wall
echo "mp3 ratio (verbalune / pipeline): $(awk "BEGIN{printf \"%.2f\", $ours / $pipe}") (aim <= 1.00)"

measure "espeak-ng -w" espeak-ng -v en-us -f "$work/story.txt" -w "$work/pipe.wav"
pipe=$last_wall
measure "verbalune --render --format wav" \
  "$bin" --render --format wav --out "$work/out" "$work/story.txt"
ours=$last_wall
echo "wav ratio (verbalune / espeak-ng): $(awk "BEGIN{printf \"%.2f\", $ours / $pipe}") (aim <= 1.05)"

if command -v soxi >/dev/null; then
  echo "durations: espeak-ng $(soxi -D "$work/pipe.wav") s, ours wav $(soxi -D "$work/out/story.wav") s," \
    "ours mp3 $(soxi -D "$work/out/story.mp3" 2>/dev/null || echo '?') s"
fi
