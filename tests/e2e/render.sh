#!/usr/bin/env bash
# verbalune --render with the real espeak-ng engine: a WAV and an MP3 of the
# same text, the MP3 checked by decoding it, its length against the WAV's;
# an EPUB book (named without its extension) to one tagged MP3 per chapter,
# and one with a chapter missing;
# then names (whole titles, any script, numbered when two inputs share one),
# working files (never the user's, none left, a killed run's swept), two
# renders into one folder at once, and the command's failures: a missing
# file, a bad option, a disk that fills up.
set -euo pipefail
bin=${1:?usage: render.sh path/to/verbalune [path/to/documents_cli]}
cli=${2:-}
for tool in mpg123 espeak-ng id3v2; do
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
[ "$(cat "$work/mp3.out")" = "$work/out/the.story.mp3" ] || fail "stdout names $(cat "$work/mp3.out")"
grep -q "Converting to MP3 format: the.story.mp3" "$work/mp3.err" || fail "no conversion progress line"
grep -q "100% Done" "$work/mp3.err" || fail "no final progress line"
ls -A "$work/out" | sort | tr '\n' ' ' | grep -qx "the.story.mp3 the.story.wav " ||
  fail "output folder holds $(ls -A "$work/out")"
# Nothing of the user's was touched.
[ -z "$(find "$HOME" -iname '*verbalune*')" ] || fail "home folder written: $(find "$HOME")"

wav_bytes=$(( $(stat -c %s "$work/out/the.story.wav") - 44 ))
wav_samples=$(( wav_bytes / 2 ))
mpg123 -q -s "$work/out/the.story.mp3" >"$work/decoded.raw" 2>"$work/mpg123.err" || { cat "$work/mpg123.err"; fail "mp3 does not decode"; }
mp3_samples=$(( $(stat -c %s "$work/decoded.raw") / 2 ))
rate=$(mpg123 -q -w "$work/decoded.wav" "$work/out/the.story.mp3" 2>&1 >/dev/null; od -An -tu4 -j24 -N4 "$work/decoded.wav" | tr -d ' ')
[ "$rate" = 22050 ] || fail "mp3 sample rate $rate"
# Encoder delay and padding add at most two frames of 1152 samples.
diff=$(( mp3_samples - wav_samples ))
echo "wav $wav_samples samples, mp3 decodes to $mp3_samples samples at $rate Hz"
[ "$wav_samples" -gt 22050 ] || fail "speech shorter than a second"
[ "${diff#-}" -le 2304 ] || fail "decoded length differs by $diff samples"

if [ -n "$cli" ]; then
  "$cli" epub "$work/book" 3
  "$bin" --render --per-file --out "$work/book-out" "$work/book" >"$work/book.out" 2>"$work/book.err" ||
    { cat "$work/book.err"; fail "book render failed"; }
  printf '%s\n' "$work/book-out/Chapter 1.mp3" "$work/book-out/Chapter 2.mp3" \
    "$work/book-out/Chapter 3.mp3" | cmp -s - "$work/book.out" || fail "book wrote $(cat "$work/book.out")"
  id3v2 -l "$work/book-out/Chapter 2.mp3" >"$work/tags"
  for frame in "TIT2.*: Chapter 2" "TALB.*: The Lighthouse" "TPE1.*: A. Keeper" "TRCK.*: 2/3" \
    "TCON.*: Speech"; do
    grep -q "$frame" "$work/tags" || { cat "$work/tags"; fail "no $frame tag"; }
  done
  mpg123 -q -s "$work/book-out/Chapter 3.mp3" >/dev/null 2>&1 || fail "chapter 3 does not decode"
  # A chapter missing from the book: the others are written, and the
  # command says what is missing and ends with status 1.
  "$cli" epub "$work/gap" 3 2
  status=0
  "$bin" --render --format wav --out "$work/gap-out" "$work/gap" >"$work/gap.out" 2>"$work/gap.err" ||
    status=$?
  [ "$status" = 1 ] || { cat "$work/gap.err"; fail "book with a missing chapter exited $status"; }
  grep -q "chapter2.xhtml" "$work/gap.err" || fail "missing chapter not named: $(cat "$work/gap.err")"
  if grep -q "100% Done" "$work/gap.err"; then fail "a book with a missing chapter said Done"; fi
  printf '%s\n' "$work/gap-out/Chapter 1.wav" "$work/gap-out/Chapter 3.wav" | cmp -s - "$work/gap.out" ||
    fail "gapped book wrote $(cat "$work/gap.out")"
fi

# Failures end non-zero with the reason on stderr.
if "$bin" --render --out "$work/out" "$work/missing.txt" 2>"$work/err"; then fail "missing file accepted"; fi
grep -q "Cannot open" "$work/err" || fail "no reason for a missing file: $(cat "$work/err")"
if "$bin" --render --bitrate 33 "$work/the.story.txt" 2>"$work/err"; then fail "bad bit rate accepted"; fi
grep -q -- "--bitrate takes" "$work/err" || fail "no reason for a bad bit rate"
# Whole titles in any script; inputs of one name get numbered outputs.
mkdir -p "$work/a" "$work/b"
cp "$work/the.story.txt" "$work/a/Café Глава.txt"
cp "$work/the.story.txt" "$work/b/Café Глава.txt"
"$bin" --render --format wav --out "$work/out2" "$work/a/Café Глава.txt" "$work/b/Café Глава.txt" \
  >"$work/names.out" 2>"$work/err" || { cat "$work/err"; fail "same names refused"; }
printf '%s\n' "$work/out2/Café Глава.wav" "$work/out2/Café Глава (2).wav" | cmp -s - "$work/names.out" ||
  fail "same names written as $(cat "$work/names.out")"

# The user's temp.wav and temp44.wav survive; two renders into one folder at
# once both succeed; a killed run's working file is swept, no other is left.
mkdir -p "$work/out3"
echo "user's" >"$work/out3/temp.wav"
echo "user's" >"$work/out3/temp44.wav"
echo "killed" >"$work/out3/.verbalune-dead01.wav"
cp "$work/the.story.txt" "$work/one.txt"
cp "$work/the.story.txt" "$work/two.txt"
"$bin" --render --bitrate 64 --out "$work/out3" "$work/one.txt" >/dev/null 2>"$work/one.err" &
first=$!
"$bin" --render --bitrate 64 --out "$work/out3" "$work/two.txt" >/dev/null 2>"$work/two.err" ||
  { cat "$work/two.err"; fail "second of two renders at once failed"; }
wait "$first" || { cat "$work/one.err"; fail "first of two renders at once failed"; }
ls -A "$work/out3" | sort | tr '\n' ' ' | grep -qx "one.mp3 temp.wav temp44.wav two.mp3 " ||
  fail "shared folder holds $(ls -A "$work/out3")"
grep -qx "user's" "$work/out3/temp.wav" || fail "the user's temp.wav was changed"
grep -qx "user's" "$work/out3/temp44.wav" || fail "the user's temp44.wav was changed"

# A disk that fills up: exit status 1 with the file and the reason, and no
# file that looks complete.
for format in wav mp3; do
  status=0
  (trap '' XFSZ; ulimit -f 16; exec "$bin" --render --format "$format" --out "$work/full" \
    "$work/the.story.txt") >/dev/null 2>"$work/err" || status=$?
  [ "$status" = 1 ] || { cat "$work/err"; fail "$format render into a full disk exited $status"; }
  grep -q "the.story.$format" "$work/err" || fail "no file named: $(cat "$work/err")"
  grep -q "File too large" "$work/err" || fail "no reason given: $(cat "$work/err")"
  if grep -q "100% Done" "$work/err"; then fail "a failed render said Done"; fi
  [ -z "$(ls -A "$work/full")" ] || fail "full disk left $(ls -A "$work/full")"
done
"$bin" --render --help | grep -q -- "--one-file" || fail "help lacks --one-file"
echo "render: ok"
