#!/usr/bin/env bash
# Screenshots of the spoken-word highlight: starts the reader under Xvfb with
# the scripted engine (or the one named: flite, espeak) on a paced silent
# device, presses Read Aloud (Ctrl+F6) on the introductory article and takes
# a screenshot every half second.
# Usage: highlight-shots.sh path/to/verbalune OUTPUT_FOLDER [SHOTS [ENGINE]]
set -euo pipefail
bin=${1:?usage: highlight-shots.sh path/to/verbalune OUTPUT_FOLDER [SHOTS]}
out=${2:?usage: highlight-shots.sh path/to/verbalune OUTPUT_FOLDER [SHOTS]}
shots=${3:-4}
source "$(dirname "$0")/sandbox.sh"
export VERBALUNE_SPEECH_ENGINE=${4:-scripted}
require_tools xvfb-run xdotool import
mkdir -p "$out"
export BIN="$bin" OUT=$(cd "$out" && pwd) SHOTS="$shots"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -euo pipefail
  trace="$VERBALUNE_DATA_DIR/verbalune.dbg"
  "$BIN" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 300); do grep -q "Exiting FormActivate" "$trace" 2>/dev/null && break; sleep 0.1; done
  wid=$(xdotool search --onlyvisible --name "^Verbalune MP3$" | head -1)
  xdotool windowfocus --sync "$wid"
  sleep 0.5
  xdotool key --window "$wid" ctrl+F6
  sleep 0.6
  for i in $(seq "$SHOTS"); do
    import -window root "$OUT/highlight-$i.png"
    sleep 0.5
  done
  grep -a "Article 1 of" "$trace" | tail -1
  kill "$pid"
'
ls "$out"
