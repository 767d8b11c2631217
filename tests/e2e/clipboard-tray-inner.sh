#!/usr/bin/env bash
# The part of clipboard-tray.sh that runs inside the X server.
set -euo pipefail
dbg="$VERBALUNE_DATA_DIR/verbalune.dbg"
fail() { echo "FAIL: $*"; [ -f "$dbg" ] && tail -25 "$dbg"; exit 1; }
wait_for() {  # wait_for SECONDS COMMAND...
  local limit=$(( $1 * 50 )); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.02; done
  return 1
}
shot() { [ -n "$SHOTS" ] && { mkdir -p "$SHOTS"; import -window root "$SHOTS/$1.png"; }; return 0; }
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
prompt_shown() { [ -n "$(visible '^Verbalune MP3$')" ]; }
prompt_gone() { ! prompt_shown; }
in_export() { grep -q "$1" "$VERBALUNE_DATA_DIR/VLExport.txt" 2>/dev/null; }

wmdocker >"$WORK/wmdocker.log" 2>&1 &
docker=$!
trap 'kill $docker 2>/dev/null || true' EXIT
sleep 0.5

"$BIN" -auto >"$WORK/out.log" 2>&1 &
pid=$!
wait_for 30 grep -q "Minimizing to the notification area" "$dbg" || fail "did not go to the notification area"
# Without a window manager nobody maps the tray host's window.
xdotool windowmap "$(xdotool search --name '^Docker$' | head -1)"

# "When minimized" is the default: hiding the window brings up the toolbar.
wait_for 10 test -n "$(visible '^Verbalune MP3 Toolbar$')" || fail "no floating toolbar"
prompt_gone || fail "main window still shown after -auto"
shot toolbar

# Another program copies text: the prompt comes up (bench/clipboard times it).
text="Copied in another program at $(date +%s%N)."
printf '%s' "$text" | xclip -selection clipboard
wait_for 10 prompt_shown || fail "no clipboard prompt"
shot prompt
prompt=$(visible '^Verbalune MP3$')
# New stands at 8,32 and is 75 x 25.
xdotool mousemove --window "$prompt" 45 44 click 1
wait_for 10 prompt_gone || fail "prompt did not close"
wait_for 10 in_export "$text" || fail "copied text is not an article"

# The tray menu: a right click on the icon that the tray host embedded.
icon=""
for w in $(xdotool search --classname '^verbalune$' 2>/dev/null); do
  eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
  [ "$WIDTH" -le 64 ] && [ "$HEIGHT" -le 64 ] && [ "$WIDTH" -gt 4 ] && icon=$w
done
[ -n "$icon" ] || fail "no icon in the notification area"
[ -n "${DEBUG:-}" ] && { echo "icon $icon"; xwininfo -root -tree | grep -v "has no name"; }
# The menu's window carries the program's class but no name xdotool can match.
shown() { xdotool search --onlyvisible --classname '^verbalune$' 2>/dev/null | sort; }
before=$(shown)
xdotool mousemove --window "$icon" 10 10
sleep 0.3
xdotool click 3
menu_open() { [ "$(shown)" != "$before" ]; }
wait_for 10 menu_open || fail "tray menu did not open"
sleep 0.3
shot traymenu
# "Read &Aloud".
xdotool key a
wait_for 10 grep -q "Tray menu: Read Aloud" "$dbg" || fail "Read Aloud was not chosen"
wait_for 10 grep -q "Article 1 of 1" "$dbg" || fail "Read Aloud did not start reading"
echo "tray menu: Read Aloud started reading"

# The toolbar's Restore button brings the main window back and hides the toolbar.
bar=$(visible '^Verbalune MP3 Toolbar$')
[ -n "$bar" ] || fail "toolbar gone while reading"
eval "$(xdotool getwindowgeometry --shell "$bar")"
xdotool mousemove --window "$bar" $(( 240 - 20 )) 20 click 1
wait_for 10 test -z "$(visible '^Verbalune MP3 Toolbar$')" || fail "Restore left the toolbar up"
wait_for 10 prompt_shown || fail "Restore did not show the main window"

kill "$pid"
wait "$pid" 2>/dev/null || true
echo "e2e clipboard and tray: ok"
