#!/usr/bin/env bash
# Starts the reader with "-auto" under Xvfb beside a notification-area host
# (wmdocker), copies text from another process with xclip, answers the
# clipboard prompt, opens the tray menu and starts Read Aloud from it, and
# checks that the floating toolbar appears as "When minimized" says.
# SHOTS=folder keeps screenshots of the prompt, the tray menu and the toolbar.
set -euo pipefail
bin=${1:?usage: clipboard-tray.sh path/to/verbalune}
source "$(dirname "$0")/sandbox.sh"
require_tools xvfb-run xdotool xclip wmdocker
export BIN="$bin" WORK="$work" SHOTS="${SHOTS:-}"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$(dirname "$0")/clipboard-tray-inner.sh"
