#!/usr/bin/env bash
# verbalune --render with the real espeak-ng engine: a WAV and an MP3 of the
# same text, the MP3 checked by decoding it, its length against the WAV's;
# then the command's failures: a missing file, a bad option, two inputs
# that would share one output name.
set -euo pipefail
bin=${1:?usage: render.sh path/to/verbalune}
for tool in mpg123 espeak-ng; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
unset VERBALUNE_SPEECH_ENGINE VERBALUNE_DATA_DIR VERBALUNE_CONFIG_DIR
fail() { echo "FAIL: $*"; exit 1; }

cat >"$work/the.story.txt" <<'TEXT'
Once upon a time, a small robot learned to read aloud.
It read the news, the weather and a very long letter from its aunt.
TEXT

"$bin" --render --format wav --out "$work/out" "$work/the.story.txt" >"$work/wav.out" 2>"$work/wav.err" ||
  { cat "$work/wav.err"; fail "wav render failed"; }
"$bin" --render --format mp3 --bitrate 32 --out "$work/out" "$work/the.story.txt" >"$work/mp3.out" 2>"$work/mp3.err" ||
  { cat "$work/mp3.err"; fail "mp3 render failed"; }
[ "$(cat "$work/mp3.out")" = "$work/out/the.mp3" ] || fail "stdout names $(cat "$work/mp3.out")"
grep -q "Converting to MP3 format: the.mp3" "$work/mp3.err" || fail "no conversion progress line"
grep -q "100% Done" "$work/mp3.err" || fail "no final progress line"
ls "$work/out" | sort | tr '\n' ' ' | grep -qx "the.mp3 the.wav " || fail "output folder holds $(ls "$work/out")"
# Nothing of the user's was touched.
[ -z "$(find "$HOME" -iname '*verbalune*')" ] || fail "home folder written: $(find "$HOME")"

wav_bytes=$(( $(stat -c %s "$work/out/the.wav") - 44 ))
wav_samples=$(( wav_bytes / 2 ))
mpg123 -q -s "$work/out/the.mp3" >"$work/decoded.raw" 2>"$work/mpg123.err" || { cat "$work/mpg123.err"; fail "mp3 does not decode"; }
mp3_samples=$(( $(stat -c %s "$work/decoded.raw") / 2 ))
rate=$(mpg123 -q -w "$work/decoded.wav" "$work/out/the.mp3" 2>&1 >/dev/null; od -An -tu4 -j24 -N4 "$work/decoded.wav" | tr -d ' ')
[ "$rate" = 22050 ] || fail "mp3 sample rate $rate"
# Encoder delay and padding add at most two frames of 1152 samples.
diff=$(( mp3_samples - wav_samples ))
echo "wav $wav_samples samples, mp3 decodes to $mp3_samples samples at $rate Hz"
[ "$wav_samples" -gt 22050 ] || fail "speech shorter than a second"
[ "${diff#-}" -le 2304 ] || fail "decoded length differs by $diff samples"

# Failures end non-zero with the reason on stderr.
if "$bin" --render --out "$work/out" "$work/missing.txt" 2>"$work/err"; then fail "missing file accepted"; fi
grep -q "Cannot open" "$work/err" || fail "no reason for a missing file: $(cat "$work/err")"
if "$bin" --render --bitrate 33 "$work/the.story.txt" 2>"$work/err"; then fail "bad bit rate accepted"; fi
grep -q -- "--bitrate takes" "$work/err" || fail "no reason for a bad bit rate"
cp "$work/the.story.txt" "$work/the.other.txt"
if "$bin" --render --out "$work/out2" "$work/the.story.txt" "$work/the.other.txt" 2>"$work/err"; then
  fail "two inputs written to one name"
fi
grep -q "both be written" "$work/err" || fail "no reason for a shared name: $(cat "$work/err")"
"$bin" --render --help | grep -q -- "--one-file" || fail "help lacks --one-file"
echo "render: ok"
