#!/usr/bin/env bash
# Starts the reader under Xvfb with the scripted engine and temporary folders,
# types into the article, hides the toolbar through the View menu, and leaves
# through "E&xit Verbalune" with the keyboard. Checks what the exit saved.
set -euo pipefail
bin=${1:?usage: main-window.sh path/to/verbalune}
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
unset QT_QPA_PLATFORM
export BIN="$bin" WORK="$work"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$(dirname "$0")/main-window-inner.sh"
