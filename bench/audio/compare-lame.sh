#!/usr/bin/env bash
# Whole-program comparison on two hours of synthetic speech (espeak-ng):
#   EncodeMp3 at 32 kbit/s against `lame -b 32 --cbr -m m`, time and peak memory,
#   with a ten-minute excerpt showing that memory does not grow with length;
#   ConvertWaveFile 22050 -> 44100 Hz throughput.
# Usage: compare-lame.sh BUILD_FOLDER [MINUTES]
set -euo pipefail
build=${1:-build-bench}
minutes=${2:-120}
cli="$build/bin/verbalune_audio_cli"
for tool in espeak-ng lame sox soxi /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "compare-lame: $tool is missing, skipped"; exit 0; }
done
[ -x "$cli" ] || { echo "compare-lame: $cli not built"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR=${VERBALUNE_DATA_DIR:-$work/data}

# The story is made long enough for the duration, and the speech cut to length.
source "$(dirname "$0")/../story-text.sh"
write_story $(( minutes * 220 + story_paragraph_words )) "$work/text.txt"
espeak-ng -w "$work/long.wav" -f "$work/text.txt"
# Exactly the minutes asked for, and a ten-minute excerpt.
sox "$work/long.wav" "$work/speech.wav" trim 0 "$((minutes * 60))"
sox "$work/long.wav" "$work/short.wav" trim 0 600
rm "$work/long.wav"
seconds=$(soxi -D "$work/speech.wav")
echo "input: $(soxi -r "$work/speech.wav") Hz, $(soxi -c "$work/speech.wav") channel, ${seconds} s"

# measure LABEL COMMAND...: prints wall and CPU (user + system) seconds and max
# RSS (KiB); leaves them in $wall and $cpu. On a shared machine CPU time is the
# steadier figure.
measure() {
  local label=$1 rss
  shift
  /usr/bin/time -v "$@" 2>"$work/time.txt" >/dev/null
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, p, ":"); s = 0;
         for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s}' "$work/time.txt")
  cpu=$(awk -F': ' '/(User|System) time \(seconds\)/ {s += $2} END {print s}' "$work/time.txt")
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
  printf '%-40s wall %8.2f s  cpu %8.2f s  max RSS %8d KiB\n' "$label" "$wall" "$cpu" "$rss"
}

long="${minutes} min"
measure "lame CLI ($long)" lame --quiet -b 32 --cbr -m m "$work/speech.wav" "$work/lame.mp3"
lame_wall=$wall lame_cpu=$cpu
measure "EncodeMp3 ($long)" "$cli" encode "$work/speech.wav" "$work/ours.mp3" 32
ours_wall=$wall ours_cpu=$cpu
measure "EncodeMp3 (10 min)" "$cli" encode "$work/short.wav" "$work/short.mp3" 32
measure "ConvertWaveFile 22050->44100 ($long)" "$cli" convert "$work/speech.wav" "$work/up.wav" 44100
awk -v a="$ours_wall" -v b="$lame_wall" -v c="$ours_cpu" -v d="$lame_cpu" \
  'BEGIN {printf "EncodeMp3 / lame CLI: wall %.2f x, cpu %.2f x\n", a / b, c / d}'
awk -v s="$seconds" -v w="$wall" -v c="$cpu" \
  'BEGIN {printf "ConvertWaveFile: %.0f x realtime (wall), %.0f x (cpu)\n", s / w, s / c}'
ls -l "$work/lame.mp3" "$work/ours.mp3" | awk '{print $5, $9}'
