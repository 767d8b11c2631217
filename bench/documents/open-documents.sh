#!/usr/bin/env bash
# Opening documents and rendering a book:
#   - reading a generated 300-page PDF and a 50-chapter EPUB into articles' text
#     (the whole opener process: best wall time of the runs and its peak memory;
#     aims 1 s and 0.5 s, 150 MB), and a 1,000-page PDF;
#   - `verbalune --render --per-file` of the book to MP3 at 32 kbit/s against
#     `espeak-ng -w` + `lame -b 32 --cbr -m m` on each chapter's same text;
#     its chapters are short (some 90 words), so the same again for a book of
#     10 long chapters (some 1,000 words, 6 minutes of speech each), where
#     the encoding, not starting programs, takes the time.
# Usage: open-documents.sh BUILD_FOLDER [RUNS]
set -euo pipefail
build=${1:-build-bench}
runs=${2:-3}
cli="$build/bin/verbalune_documents_cli"
# A test build has the same tool under its test name.
[ -x "$cli" ] || cli="$build/bin/documents_cli"
bin="$build/bin/verbalune"
for tool in espeak-ng lame /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "open-documents: $tool is missing, skipped"; exit 0; }
done
[ -x "$cli" ] && [ -x "$bin" ] || { echo "open-documents: $cli or $bin not built"; exit 1; }

work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"
export QT_QPA_PLATFORM=offscreen
unset VERBALUNE_SPEECH_ENGINE

"$cli" pdf "$work/book.pdf" 300
"$cli" pdf "$work/long.pdf" 1000
"$cli" epub "$work/book.epub" 50

# best RUNS COMMAND: prints the best wall time and that run's peak memory.
best() {
  local bw="" brss=""
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %M" -o "$work/t" bash -c "$1" >"$work/stdout" 2>"$work/err" ||
      { cat "$work/err"; return 1; }
    read -r wall rss <"$work/t"
    if [ -z "$bw" ] || awk "BEGIN{exit !($wall < $bw)}"; then bw=$wall; brss=$rss; fi
  done
  echo "$bw $brss"
}

read -r w m < <(best "'$cli' open '$work/book.pdf'")
printf "open 300-page PDF      wall %6.2f s  max RSS %7d KiB (%s)\n" "$w" "$m" "$(cat "$work/stdout")"
read -r w m < <(best "'$cli' open '$work/long.pdf'")
printf "open 1,000-page PDF    wall %6.2f s  max RSS %7d KiB (%s)\n" "$w" "$m" "$(cat "$work/stdout")"
read -r w m < <(best "'$cli' open '$work/book.epub'")
printf "open 50-chapter EPUB   wall %6.2f s  max RSS %7d KiB (%s)\n" "$w" "$m" "$(cat "$work/stdout")"

# compare NAME BOOK: the render of BOOK against the command-line pipeline.
compare() {
  local name=$1 book=$2
  rm -rf "$work/chapters" "$work/out"
  mkdir -p "$work/chapters"
  "$cli" chapters "$book" "$work/chapters"
  local n
  n=$(ls "$work/chapters" | wc -l)
  pipeline="for f in '$work'/chapters/*.txt; do espeak-ng -v en-us -f \"\$f\" -w '$work/pipe.wav' && lame --quiet -b 32 --cbr -m m '$work/pipe.wav' \"\${f%.txt}.mp3\" || exit 1; done"
  ours="'$bin' --render --per-file --format mp3 --bitrate 32 --out '$work/out' '$book'"
  read -r wp mp < <(best "$pipeline")
  read -r wo mo < <(best "$ours")
  printf "%-60s wall %7.2f s  max RSS %7d KiB\n" "espeak-ng -w + lame per chapter ($n)" "$wp" "$mp"
  printf "%-60s wall %7.2f s  max RSS %7d KiB\n" "verbalune --render --per-file $name" "$wo" "$mo"
  echo "files: $(ls "$work/out" | wc -l) MP3s; ratio: wall $(awk "BEGIN{printf \"%.2f\", $wo / $wp}") (aim <= 1.0)"
}
compare "book.epub (50 short chapters)" "$work/book.epub"
"$cli" epub "$work/long.epub" 10 0 20
compare "long.epub (10 long chapters)" "$work/long.epub"
