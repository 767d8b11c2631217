#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the tools need,
# and only those that are missing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkgconf ccache
  qt6-base-dev qt6-base-dev-tools
  libespeak-ng-dev espeak-ng-data flite1-dev
  libmp3lame-dev libasound2-dev libjpeg-dev libmpg123-dev
  libpoppler-qt6-dev libzip-dev
  # tests, fuzzing, benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
  xvfb xauth xdotool xclip x11-utils imagemagick wmdocker
  espeak-ng flite lame sox libsox-fmt-mp3 mpg123 time qpdf id3v2 desktop-file-utils
  # fonts so the window shows text under Xvfb
  fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
