#!/usr/bin/env bash
# The part of lifecycle.sh that runs inside the X server.
set -euo pipefail
dbg="$VERBALUNE_DATA_DIR/verbalune.dbg"
export="$VERBALUNE_DATA_DIR/VLExport.txt"
reg="$VERBALUNE_CONFIG_DIR/registry.reg"
fail() { echo "FAIL: $*"; [ -f "$dbg" ] && tail -25 "$dbg"; exit 1; }
wait_for() {  # wait_for SECONDS COMMAND...
  local limit=$(( $1 * 50 )); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.02; done
  return 1
}
visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
shows() { [ -n "$(visible "$1")" ]; }
gone() { ! kill -0 "$1" 2>/dev/null; }
# ends PID STATUS WHAT: the process ends by itself with that exit status.
ends() {
  wait_for 20 gone "$1" || { kill -9 "$1"; fail "$3: the program did not end"; }
  local status=0
  wait "$1" || status=$?
  [ "$status" -eq "$2" ] || fail "$3: exit status $status"
}
started() { wait_for 30 grep -qs "Exiting FormActivate" "$dbg" || fail "start-up did not finish"; }

wmdocker >"$WORK/wmdocker.log" 2>&1 &
docker=$!
trap 'kill $docker 2>/dev/null || true' EXIT
sleep 0.5

# 1. Exit from the tray menu while the floating toolbar is shown ("-auto"
# hides the window, and the toolbar comes up by default). A race, so tried
# several times; each try must end the program and write what it keeps.
for try in $(seq "$TRIES"); do
  rm -f "$export" "$reg" "$dbg"
  "$BIN" -auto >"$WORK/out.log" 2>&1 &
  pid=$!
  wait_for 30 grep -qs "Minimizing to the notification area" "$dbg" || fail "try $try: not hidden"
  xdotool windowmap "$(xdotool search --name '^Docker$' | head -1)" 2>/dev/null || true
  wait_for 10 shows '^Verbalune MP3 Toolbar$' || fail "try $try: no toolbar"
  icon=""
  for w in $(xdotool search --classname '^verbalune$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)" || continue
    [ "$WIDTH" -le 64 ] && [ "$HEIGHT" -le 64 ] && [ "$WIDTH" -gt 4 ] && icon=$w
  done
  [ -n "$icon" ] || fail "try $try: no icon in the notification area"
  shown() { xdotool search --onlyvisible --classname '^verbalune$' 2>/dev/null | sort; }
  before=$(shown)
  xdotool mousemove --window "$icon" 10 10
  sleep 0.3
  xdotool click 3
  menu_open() { [ "$(shown)" != "$before" ]; }
  wait_for 10 menu_open || fail "try $try: tray menu did not open"
  sleep 0.2
  xdotool key x  # "E&xit Verbalune"
  ends "$pid" 0 "try $try: Exit from the tray menu"
  grep -q "Exitting FormDestroy" "$dbg" || fail "try $try: window not destroyed"
  [ -s "$export" ] || fail "try $try: articles not written"
  grep -q '"FirstTimeUser"="false"' "$reg" || fail "try $try: settings not written"
done
echo "Exit with the toolbar shown: ok ($TRIES tries)"

# Starts the window, puts TEXT into the current article by typing.
start_and_type() {
  rm -f "$dbg"
  "$BIN" >"$WORK/out.log" 2>&1 &
  pid=$!
  started
  local wid
  wid=$(visible '^Verbalune MP3$')
  [ -n "$wid" ] || fail "no main window"
  xdotool windowfocus --sync "$wid"
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  xdotool mousemove --window "$wid" $(( WIDTH / 2 )) $(( HEIGHT - 80 )) click 1
  sleep 0.3
  xdotool key --window "$wid" ctrl+a Delete
  xdotool type --delay 10 "$1"
}

# 2. SIGTERM right after typing, before the typing was saved: the signal
# saves like Exit, and the next start has the text.
start_and_type "Typed just before SIGTERM"
sleep 0.5  # the typing reaches the program; its autosave is 2 s away
kill -TERM "$pid"
ends "$pid" 0 "SIGTERM"
grep -q "Received SIGTERM" "$dbg" || fail "SIGTERM not handled"
grep -q "Typed just before SIGTERM" "$export" || fail "SIGTERM lost the typed text"
rm -f "$dbg"
"$BIN" >"$WORK/out.log" 2>&1 &
pid=$!
started
kill -HUP "$pid"
ends "$pid" 0 "SIGHUP"
grep -q "Typed just before SIGTERM" "$export" || fail "the next start lost the typed text"
echo "SIGTERM after typing: ok"

# 3. kill -9 three seconds after typing loses nothing.
start_and_type "Typed three seconds before kill -9"
sleep 3
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
grep -q "Typed three seconds before kill -9" "$export" || fail "kill -9 lost the typed text"
echo "kill -9 after typing: ok"

# 4. No speech engine: the warning, then the program ends with status 1.
for setup in "VERBALUNE_SPEECH_ENGINE=none" "VERBALUNE_SPEECH_ENGINE=espeak ESPEAK_DATA_PATH=$WORK/empty"; do
  mkdir -p "$WORK/empty"
  env $setup "$BIN" >"$WORK/out.log" 2>&1 &
  pid=$!
  wait_for 30 shows '^Text To Speech Engine not found$' ||
    { kill -9 "$pid"; cat "$WORK/out.log"; fail "$setup: no engine warning"; }
  xdotool windowfocus --sync "$(visible '^Text To Speech Engine not found$')" 2>/dev/null || true
  xdotool key Return
  ends "$pid" 1 "$setup"
done
echo "no engine: ok"
echo "e2e lifecycle: ok"
