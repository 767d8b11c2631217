#!/usr/bin/env bash
# kill -9 at random moments while typing and autosaving: each cycle starts the
# reader on a list of 200 articles of about 5 KB (Multi-Article mode), types a
# word into the current article, waits a random 0 to 4 s (the autosave comes
# 2 s after the last keystroke; the list takes a while to write) and kills the
# process. Counted: articles missing after a cycle (aim 0), a saved-articles
# file that does not end with an article's end marker, and typed words missing
# although the kill came more than 2.5 s after typing.
# Usage: autosave-kill.sh BUILD_FOLDER [CYCLES]   (CYCLES defaults to 300)
set -euo pipefail
build=${1:?usage: autosave-kill.sh build-folder [cycles]}
cycles=${2:-300}
bin="$build/bin/verbalune"
for tool in xvfb-run xdotool python3; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 0; }
done
[ -x "$bin" ] || { echo "skipped: $bin not built"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
export BIN="$bin" CYCLES="$cycles"
mkdir -p "$HOME" "$VERBALUNE_DATA_DIR" "$VERBALUNE_CONFIG_DIR"
unset QT_QPA_PLATFORM
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\KelmorSoft\\Verbalune]\n"FirstTimeUser"="false"\n"ML_ListMode"="1"\n' \
  >"$VERBALUNE_CONFIG_DIR/registry.reg"
python3 - "$VERBALUNE_DATA_DIR/VLExport.txt" <<'PY'
import sys
line = "The committee met on Tuesday to discuss the budget, and the estimates were revised."
out = []
for i in range(200):
    text = []
    while sum(len(t) + 2 for t in text) < 5000:
        text.append(line)
    out += ["||||||Verbalune MP3 Start of Article||||||", f"Article_{i}||3"] + text + \
           ["||||||Verbalune MP3 End of Article||||||"]
open(sys.argv[1], "w", newline="").write("".join(l + "\r\n" for l in out))
PY
cat >"$work/inner.sh" <<'INNER'
set -euo pipefail
file="$VERBALUNE_DATA_DIR/VLExport.txt"
dbg="$VERBALUNE_DATA_DIR/verbalune.dbg"
count() { grep -c "Verbalune MP3 Start of Article" "$file" || true; }
expected=$(count)
lost=0 broken=0 late_missing=0 late=0
for cycle in $(seq "$CYCLES"); do
  rm -f "$dbg"
  "$BIN" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 600); do grep -qs "Exiting FormActivate" "$dbg" && break; sleep 0.05; done
  wid=$(xdotool search --onlyvisible --name '^Verbalune MP3$' | head -1)
  if [ -n "$wid" ]; then
    xdotool windowfocus --sync "$wid"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    xdotool mousemove --window "$wid" $(( WIDTH / 2 )) $(( HEIGHT - 80 )) click 1
    xdotool key --window "$wid" ctrl+End
    word="cycle${cycle}word"
    xdotool type --delay 5 " $word"
  fi
  wait_ms=$(( RANDOM % 4000 ))
  sleep "$(printf '%d.%03d' $(( wait_ms / 1000 )) $(( wait_ms % 1000 )))"
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  now=$(count)
  [ "$now" -lt "$expected" ] && lost=$(( lost + expected - now ))
  tail -c 50 "$file" | grep -q "End of Article" || broken=$(( broken + 1 ))
  if [ -n "$wid" ] && [ "$wait_ms" -gt 2500 ]; then
    late=$(( late + 1 ))
    grep -q "$word" "$file" || late_missing=$(( late_missing + 1 ))
  fi
done
echo "cycles $CYCLES: articles lost $lost (of $expected each cycle), damaged files $broken," \
     "typed words missing after a kill more than 2.5 s after typing: $late_missing of $late"
INNER
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/inner.sh"
