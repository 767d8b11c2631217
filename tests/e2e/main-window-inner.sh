#!/usr/bin/env bash
# The part of main-window.sh that runs inside the X server.
set -euo pipefail
fail() { echo "FAIL: $*"; [ -f "$VERBALUNE_DATA_DIR/verbalune.dbg" ] && tail -20 "$VERBALUNE_DATA_DIR/verbalune.dbg"; exit 1; }
trace() { cat "$VERBALUNE_DATA_DIR/verbalune.dbg" 2>/dev/null || true; }
wait_for() {  # wait_for SECONDS COMMAND...
  local limit=$(( $1 * 10 )); shift
  for _ in $(seq "$limit"); do "$@" && return 0; sleep 0.1; done
  return 1
}

"$BIN" >"$WORK/out.log" 2>&1 &
pid=$!
wait_for 30 grep -qs "Exiting FormActivate" "$VERBALUNE_DATA_DIR/verbalune.dbg" || fail "start-up did not finish"
wid=$(xdotool search --onlyvisible --name '^Verbalune MP3$' | head -1)
[ -n "$wid" ] || fail "no main window"

# Without a window manager the window must be given the focus by hand.
xdotool windowfocus --sync "$wid"
eval "$(xdotool getwindowgeometry --shell "$wid")"
# The article's text area fills the lower half of the window.
xdotool mousemove --window "$wid" $(( WIDTH / 2 )) $(( HEIGHT - 80 )) click 1
sleep 0.3
xdotool key --window "$wid" ctrl+a Delete
xdotool type --delay 20 "Typed under Xvfb"
sleep 0.3

# View > Toolbar hides the toolbar; the choice is saved on exit.
xdotool key alt+v
sleep 0.5
xdotool key t
sleep 0.5
# File > Exit Verbalune.
xdotool key alt+f
sleep 0.5
xdotool key x
wait_for 20 bash -c "! kill -0 $pid 2>/dev/null" || { kill "$pid"; fail "program did not exit"; }
status=0; wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"

trace | grep -q "Entered ExitVerbaluneClick" || fail "no Exit in the trace"
trace | grep -q "Exitting FormDestroy" || fail "window not destroyed"
grep -q "Typed under Xvfb" "$VERBALUNE_DATA_DIR/VLExport.txt" || fail "typed text not saved"
reg="$VERBALUNE_CONFIG_DIR/registry.reg"
[ -f "$reg" ] || fail "no registry file"
grep -q '"ShowToolbar"="false"' "$reg" || fail "toolbar choice not saved"
grep -q '"FirstTimeUser"="false"' "$reg" || fail "first start not recorded"
grep -qi 'Windows\\verbalune\\Form1' "$reg" || fail "window placement not saved"
echo "e2e main window: ok"
