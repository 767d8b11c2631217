#!/usr/bin/env bash
# Rendering a 20,000-word English text to a WAV file with Flite's slt voice
# through the component against `flite -voice slt -f text.txt -o out.wav`:
# wall and CPU time and peak memory, and the ratio of the wall times.
# Usage: compare-flite.sh BUILD_FOLDER [RUNS]
set -euo pipefail
build=${1:-build-bench}
runs=${2:-3}
cli="$build/bin/verbalune_speech_cli"
for tool in flite /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "compare-flite: $tool is missing, skipped"; exit 0; }
done
[ -x "$cli" ] || { echo "compare-flite: $cli not built"; exit 1; }

work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
# The component must not pick up voice files or settings of the user.
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"

source "$(dirname "$0")/../story-text.sh"
write_story 20000 "$work/text20k.txt"
echo "text: $(wc -w <"$work/text20k.txt") words, $(wc -c <"$work/text20k.txt") bytes"

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
  printf "%-34s wall %7.2f s  cpu %7.2f s  max RSS %7d KiB\n" "$label" "$best" "$cpu" "$rss"
  last_wall=$best
}

measure "flite CLI slt, 20k words" flite -voice slt -f "$work/text20k.txt" -o "$work/cli.wav"
cli_wall=$last_wall
measure "TTTS Flite Slt to WAV, 20k words" "$cli" "$work/text20k.txt" "$work/ours.wav" "Flite Slt"
ours_wall=$last_wall
echo "ratio ours/CLI (wall): $(awk "BEGIN{printf \"%.3f\", $ours_wall / $cli_wall}")"
echo "audio: CLI $(stat -c %s "$work/cli.wav") bytes, ours $(stat -c %s "$work/ours.wav") bytes"
