#!/usr/bin/env bash
# Time from starting the reader to its main window shown with start-up done,
# with an empty article list and with 1,000 saved articles; median over runs,
# and the peak memory of the process. Done means the trace has both "Exiting
# FormShow" and "Exiting FormActivate": the desktop may activate the window
# while the saved articles are still being read.
# Usage: startup.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:-build-bench}
runs=${2:-9}
bin="$build/bin/verbalune"
[ -x "$bin" ] || { echo "startup.sh: $bin not built"; exit 1; }
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# prepare FOLDER ARTICLES: a later start (not the first) in Multi-Article mode.
prepare() {
  local dir=$1 count=$2
  rm -rf "$dir"; mkdir -p "$dir/data" "$dir/config"
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\KelmorSoft\\Verbalune]\n"FirstTimeUser"="false"\n"ML_ListMode"="1"\n' \
    >"$dir/config/registry.reg"
  python3 - "$dir/data/VLExport.txt" "$count" <<'PY'
import sys
path, count = sys.argv[1], int(sys.argv[2])
lines = []
for i in range(count):
    lines += ["||||||Verbalune MP3 Start of Article||||||", f"Article_{i}||3",
              f"Article number {i} has a few lines of text to read aloud.",
              "The second line says a little more about the subject at hand,",
              "and the third line ends it.", "||||||Verbalune MP3 End of Article||||||"]
open(path, "w", newline="").write("".join(l + "\r\n" for l in lines))
PY
}

# one_run FOLDER: prints "milliseconds peak_kib".
one_run() {
  local dir=$1
  rm -f "$dir/data"/verbalune*.dbg "$dir/config"/*.tmp*
  local start end pid peak
  start=$(date +%s%N)
  VERBALUNE_DATA_DIR="$dir/data" VERBALUNE_CONFIG_DIR="$dir/config" "$bin" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 6000); do
    [ "$(grep -cs -e "Exiting FormShow" -e "Exiting FormActivate" "$dir/data/verbalune.dbg")" = 2 ] &&
      break
    sleep 0.005
  done
  end=$(date +%s%N)
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$(( (end - start) / 1000000 )) $peak"
}

measure() {
  local label=$1 count=$2 dir="$work/$2"
  prepare "$dir" "$count"
  one_run "$dir" >/dev/null  # warm the caches once
  local times=() peaks=()
  for _ in $(seq "$runs"); do
    read -r ms kib < <(one_run "$dir")
    times+=("$ms"); peaks+=("$kib")
  done
  local median peak
  median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
  peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
  printf '%-22s median %5d ms  (runs: %s)  peak memory %d MiB\n' \
    "$label" "$median" "${times[*]}" $(( peak / 1024 ))
}

measure "empty list" 0
measure "1,000 saved articles" 1000
