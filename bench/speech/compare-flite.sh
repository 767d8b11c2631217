#!/usr/bin/env bash
# Rendering a 20,000-word English text to a WAV file with Flite's slt voice
# through the component against `flite -voice slt -f text.txt -o out.wav`:
# wall and CPU time and peak memory, the ratios of both, and the ratio of
# instructions executed on a short text (callgrind), which load does not sway.
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

# Runs alternate between the two programs, so that other work on the machine
# weighs on both alike; the best wall time of each is kept, with its CPU time.
# CPU time is the steadier figure on a shared machine.
run_once() {
  local out=$1; shift
  /usr/bin/time -f "%e %U %S %M" -o "$work/t" "$@" >/dev/null 2>"$work/err" ||
    { cat "$work/err"; return 1; }
  read -r w u s m <"$work/t"
  local c; c=$(awk "BEGIN{print $u + $s}")
  local bw=""
  [ -f "$work/$out" ] && read -r bw _ _ <"$work/$out"
  if [ -z "$bw" ] || awk "BEGIN{exit !($w < $bw)}"; then
    echo "$w $c $m" >"$work/$out"
  fi
}
for _ in $(seq "$runs"); do
  run_once cli flite -voice slt -f "$work/text20k.txt" -o "$work/cli.wav"
  run_once ours "$cli" "$work/text20k.txt" "$work/ours.wav" "Flite Slt"
done
read -r cli_wall cli_cpu cli_rss <"$work/cli"
read -r ours_wall ours_cpu ours_rss <"$work/ours"
printf "%-34s wall %7.2f s  cpu %7.2f s  max RSS %7d KiB\n" "flite CLI slt, 20k words" \
  "$cli_wall" "$cli_cpu" "$cli_rss"
printf "%-34s wall %7.2f s  cpu %7.2f s  max RSS %7d KiB\n" "TTTS Flite Slt to WAV, 20k words" \
  "$ours_wall" "$ours_cpu" "$ours_rss"
echo "ratio ours/CLI: wall $(awk "BEGIN{printf \"%.3f\", $ours_wall / $cli_wall}")," \
  "cpu $(awk "BEGIN{printf \"%.3f\", $ours_cpu / $cli_cpu}")"
echo "audio: CLI $(stat -c %s "$work/cli.wav") bytes, ours $(stat -c %s "$work/ours.wav") bytes"

# Instructions executed, counted by callgrind on a 300-word text: unlike
# time, the count does not depend on what else the machine is doing.
if command -v valgrind >/dev/null; then
  write_story 300 "$work/text300.txt"
  count() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null --log-file="$work/vg" "$@" \
      >/dev/null 2>&1 || { cat "$work/vg"; return 1; }
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$work/vg"
  }
  cli_ir=$(count flite -voice slt -f "$work/text300.txt" -o "$work/cli300.wav")
  ours_ir=$(count "$cli" "$work/text300.txt" "$work/ours300.wav" "Flite Slt")
  echo "instructions, $(wc -w <"$work/text300.txt") words: CLI $cli_ir, ours $ours_ir," \
    "ratio $(awk "BEGIN{printf \"%.4f\", $ours_ir / $cli_ir}")"
fi
