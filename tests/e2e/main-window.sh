#!/usr/bin/env bash
# Starts the reader under Xvfb with the scripted engine and temporary folders,
# types into the article, hides the toolbar through the View menu, and leaves
# through "E&xit Verbalune" with the keyboard. Checks what the exit saved.
set -euo pipefail
bin=${1:?usage: main-window.sh path/to/verbalune}
source "$(dirname "$0")/sandbox.sh"
require_tools xvfb-run xdotool
export BIN="$bin" WORK="$work"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$(dirname "$0")/main-window-inner.sh"
