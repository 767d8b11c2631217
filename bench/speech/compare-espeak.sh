#!/usr/bin/env bash
# Rendering a 20,000-word English text to a WAV file through the component
# against `espeak-ng -v en-us -f text.txt -w out.wav`, side by side: wall and
# CPU time and peak memory; then 40,000 words, to show memory does not grow
# with the text.
# Usage: compare-espeak.sh BUILD_FOLDER [RUNS]
set -euo pipefail
build=${1:-build-bench}
runs=${2:-3}
cli="$build/bin/verbalune_speech_cli"
for tool in espeak-ng /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "compare-espeak: $tool is missing, skipped"; exit 0; }
done
[ -x "$cli" ] || { echo "compare-espeak: $cli not built"; exit 1; }

# Outputs go to memory where possible: the figure is the synthesis, not the disk.
work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/../story-text.sh"
write_story 20000 "$work/text20k.txt"
write_story 40000 "$work/text40k.txt"
echo "text: $(wc -w <"$work/text20k.txt") words, $(wc -c <"$work/text20k.txt") bytes"

# measure LABEL COMMAND...: best wall time of the runs, its CPU time, max RSS.
measure() {
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
  printf "%-34s wall %6.2f s  cpu %6.2f s  max RSS %7d KiB\n" "$label" "$best" "$cpu" "$rss"
  last_wall=$best
}

measure "espeak-ng CLI, 20k words" espeak-ng -v en-us -f "$work/text20k.txt" -w "$work/cli.wav"
cli_wall=$last_wall
measure "TTTS to WAV, 20k words" "$cli" "$work/text20k.txt" "$work/ours.wav"
ours_wall=$last_wall
measure "TTTS to WAV, 40k words" "$cli" "$work/text40k.txt" "$work/ours40.wav"
echo "ratio ours/CLI (wall): $(awk "BEGIN{printf \"%.3f\", $ours_wall / $cli_wall}")"
echo "audio: CLI $(stat -c %s "$work/cli.wav") bytes, ours $(stat -c %s "$work/ours.wav") bytes"
