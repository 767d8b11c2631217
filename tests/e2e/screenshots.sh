#!/usr/bin/env bash
# Not a test: screenshots of the main window in both modes and of each small
# dialog under Xvfb, for looking at. Usage: screenshots.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=${1:?build folder}; out=${2:?output folder}
mkdir -p "$out"
export OUT=$(cd "$out" && pwd) BIN=$(cd "$build/bin" && pwd)
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1024x768x24" bash -s <<'INNER'
set -euo pipefail
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
shot() { sleep "${2:-1.5}"; import -window root "$OUT/$1.png"; }
run_main() {  # run_main NAME: the main window with the folders in $work/$1
  VERBALUNE_DATA_DIR="$work/$1/data" VERBALUNE_CONFIG_DIR="$work/$1/config" "$BIN/verbalune" &
  local pid=$!
  shot "main-$1" 3
  kill "$pid"; wait "$pid" 2>/dev/null || true
}
mkdir -p "$work/single/config" "$work/multi/config" "$work/multi/data"
run_main single
printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\KelmorSoft\\Verbalune]\n"FirstTimeUser"="false"\n"ML_ListMode"="1"\n' >"$work/multi/config/registry.reg"
python3 - "$work/multi/data/VLExport.txt" <<'PY'
import sys
texts = [("Morning_news", "The morning news: rain in the north, sun in the south, and a quiet day on the markets."),
         ("Letter_from_Anna", "Dear friends, the garden is full of tomatoes this year. Come and take some home."),
         ("Chapter_one", "It was a bright cold day in April, and the clocks were striking the hour.")]
out = []
for title, text in texts:
    out += ["||||||Verbalune MP3 Start of Article||||||", f"{title}|Linda|1", text,
            "||||||Verbalune MP3 End of Article||||||"]
open(sys.argv[1], "w", newline="").write("".join(l + "\r\n" for l in out))
PY
run_main multi
for dialog in About EngineWarning OutDir SIBusy PronEditorInfo PronunciationEditor; do
  mkdir -p "$work/d/data" "$work/d/config"
  VERBALUNE_DATA_DIR="$work/d/data" VERBALUNE_CONFIG_DIR="$work/d/config" "$BIN/dialogs_screenshot" "$dialog" &
  pid=$!
  shot "dialog-$dialog" 2
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
INNER
ls "$out"
