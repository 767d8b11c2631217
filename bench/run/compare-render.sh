#!/usr/bin/env bash
# `verbalune --render` of a 20,000-word English text against the pipeline it
# replaces, side by side: MP3 at 32 kbit/s against `espeak-ng -w` followed by
# `lame -b 32 --cbr -m m`, and WAV against `espeak-ng -w` alone. Best wall
# time of the runs, its CPU time and peak memory, and the ratios. The runs
# alternate between the two sides.
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

source "$(dirname "$0")/../story-text.sh"
write_story 20000 "$work/story.txt"
echo "text: $(wc -w <"$work/story.txt") words, $(wc -c <"$work/story.txt") bytes"

# One timed run of a shell command line: sets wall, cpu and rss.
time_once() {
  /usr/bin/time -f "%e %U %S %M" -o "$work/t" bash -c "$1" >/dev/null 2>"$work/err" ||
    { cat "$work/err"; return 1; }
  read -r wall u s rss <"$work/t"
  cpu=$(awk "BEGIN{print $u + $s}")
}

# compare AIM LABEL_A COMMAND_A LABEL_B COMMAND_B: runs the two in turn, so a
# machine busy with other work slows both alike; keeps each one's best wall
# time with its CPU time and peak memory, and prints the ratios B / A.
compare() {
  local aim=$1 label_a=$2 cmd_a=$3 label_b=$4 cmd_b=$5
  local best_a="" cpu_a="" rss_a="" best_b="" cpu_b="" rss_b=""
  for _ in $(seq "$runs"); do
    time_once "$cmd_a"
    if [ -z "$best_a" ] || awk "BEGIN{exit !($wall < $best_a)}"; then
      best_a=$wall; cpu_a=$cpu; rss_a=$rss
    fi
    time_once "$cmd_b"
    if [ -z "$best_b" ] || awk "BEGIN{exit !($wall < $best_b)}"; then
      best_b=$wall; cpu_b=$cpu; rss_b=$rss
    fi
  done
  printf "%-44s wall %7.2f s  cpu %7.2f s  max RSS %7d KiB\n" "$label_a" "$best_a" "$cpu_a" "$rss_a"
  printf "%-44s wall %7.2f s  cpu %7.2f s  max RSS %7d KiB\n" "$label_b" "$best_b" "$cpu_b" "$rss_b"
  echo "ratio: wall $(awk "BEGIN{printf \"%.2f\", $best_b / $best_a}")," \
    "cpu $(awk "BEGIN{printf \"%.2f\", $cpu_b / $cpu_a}") (aim <= $aim)"
}

story="$work/story.txt"
compare 1.00 "espeak-ng -w + lame -b 32 --cbr -m m" \
  "espeak-ng -v en-us -f '$story' -w '$work/pipe.wav' && lame --quiet -b 32 --cbr -m m '$work/pipe.wav' '$work/pipe.mp3'" \
  "verbalune --render --format mp3 --bitrate 32" \
  "'$bin' --render --format mp3 --bitrate 32 --out '$work/out' '$story'"
compare 1.05 "espeak-ng -w" "espeak-ng -v en-us -f '$story' -w '$work/pipe.wav'" \
  "verbalune --render --format wav" "'$bin' --render --format wav --out '$work/out' '$story'"

if command -v soxi >/dev/null; then
  echo "durations: espeak-ng $(soxi -D "$work/pipe.wav") s, ours wav $(soxi -D "$work/out/story.wav") s," \
    "ours mp3 $(soxi -D "$work/out/story.mp3" 2>/dev/null || echo '?') s"
fi
