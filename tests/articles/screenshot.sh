#!/usr/bin/env bash
# Screenshot of three articles in Multi-Article mode under Xvfb.
# usage: tests/articles/screenshot.sh BUILD_DIR [OUT.png]
set -euo pipefail
build=${1:?build folder}
out=${2:-articles-shot.png}
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
  '$build/bin/articles_screenshot' 6 &
  sleep 3
  import -window root '$out'
  wait"
echo "wrote $out"
