# Sourced by the end-to-end scripts: skips the test (exit 77) when a tool is
# missing, and starts the reader's world in a fresh temporary folder with the
# scripted engine on a paced silent device, so no run touches the real home
# folder or needs a sound card. Sets `work`, removed on exit.

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
  done
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export VERBALUNE_DATA_DIR="$work/data" VERBALUNE_CONFIG_DIR="$work/config"
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$HOME"
unset QT_QPA_PLATFORM
