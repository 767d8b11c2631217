#!/usr/bin/env bash
# How the reader ends and what it keeps: Exit from the tray menu with the
# floating toolbar on screen (several tries), SIGTERM right after typing,
# kill -9 a few seconds after typing, and a start without any speech engine.
set -euo pipefail
bin=${1:?usage: lifecycle.sh path/to/verbalune}
source "$(dirname "$0")/sandbox.sh"
require_tools xvfb-run xdotool wmdocker
export BIN="$bin" WORK="$work" TRIES="${TRIES:-3}"
xvfb-run -a -s "-screen 0 1280x1024x24" bash ${TRACE_SCRIPT:+-x} "$(dirname "$0")/lifecycle-inner.sh"
