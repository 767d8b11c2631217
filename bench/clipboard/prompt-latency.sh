#!/usr/bin/env bash
# Time from another program's copy to the clipboard prompt on screen, under
# Xvfb with a notification-area host, the reader started with "-auto".
# Usage: prompt-latency.sh BUILD_FOLDER [COPIES]
set -euo pipefail
build=${1:?usage: prompt-latency.sh build-folder [copies]}
copies=${2:-5}
probe="$build/bin/clipboard_copy_probe"
for tool in xvfb-run wmdocker xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 0; }
done
[ -x "$probe" ] || { echo "skipped: $probe not built"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
unset QT_QPA_PLATFORM
cat >"$work/inner.sh" <<'INNER'
set -euo pipefail
wmdocker >/dev/null 2>&1 &
docker=$!
"$BIN" -auto >/dev/null 2>&1 &
pid=$!
trap 'kill $pid $docker 2>/dev/null || true' EXIT
for _ in $(seq 300); do
  grep -q "Minimizing to the notification area" "$VERBALUNE_DATA_DIR/verbalune.dbg" 2>/dev/null && break
  sleep 0.1
done
sleep 0.5
# The prompt answers Cancel by itself after its 3 seconds (the defaults).
"$PROBE" "$COPIES"
INNER
BIN="$build/bin/verbalune" PROBE="$probe" COPIES="$copies" \
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/inner.sh"
