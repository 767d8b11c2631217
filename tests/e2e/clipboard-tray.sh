#!/usr/bin/env bash
# Starts the reader with "-auto" under Xvfb beside a notification-area host
# (wmdocker), copies text from another process with xclip, answers the
# clipboard prompt, opens the tray menu and starts Read Aloud from it, and
# checks that the floating toolbar appears as "When minimized" says.
# SHOTS=folder keeps screenshots of the prompt, the tray menu and the toolbar.
set -euo pipefail
bin=${1:?usage: clipboard-tray.sh path/to/verbalune}
for tool in xvfb-run xdotool xclip wmdocker; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
unset QT_QPA_PLATFORM
export BIN="$bin" WORK="$work" SHOTS="${SHOTS:-}"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$(dirname "$0")/clipboard-tray-inner.sh"
