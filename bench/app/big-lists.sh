#!/usr/bin/env bash
# Big article lists and long books, for one build or two side by side (the
# second usually the one to compare with): start-up time and peak memory of
# the reader under Xvfb with no articles, 1,000 and 4,000 saved articles of
# 5 KB and 2,000 of 10 KB; opening a 10 MB and a 50 MB text file as one
# article; the next article of a run over 2,000 articles with auto-delete;
# and the UI thread's part of saving 2,000 articles of 10 KB.
# The words come from real texts (bench/app/prose.py). Prints a table.
# Start-up is done when the trace has "Exiting FormShow" and the list is
# marked ("Exiting FormActivate"); the median of RUNS starts is shown. The
# machine is shared, so beside each time the CPU time it took is shown too:
# the process's for a start, the UI thread's for an open; other work on the
# machine stretches the times but hardly the CPU times.
# Usage: big-lists.sh BUILD_DIR [OTHER_BUILD_DIR] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
builds=("$1")
[ -n "${2:-}" ] && builds+=("$2")
runs=${3:-5}
for b in "${builds[@]}"; do
  for t in verbalune bench_articles; do
    [ -x "$b/bin/$t" ] || { echo "big-lists.sh: $b/bin/$t not built"; exit 1; }
  done
done
export VERBALUNE_SPEECH_ENGINE=scripted VERBALUNE_WAVE_DEVICE=paced
work=$(mktemp -d)
display=":$((90 + RANDOM % 800))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display QT_QPA_PLATFORM=xcb
sleep 1

# prepare FOLDER COUNT CHARS: a later start in Multi-Article mode, 3 shown.
prepare() {
  local dir=$1
  mkdir -p "$dir/data" "$dir/config"
  printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\KelmorSoft\\Verbalune]\n"FirstTimeUser"="false"\n"ML_ListMode"="1"\n"ML_VisibleEntries"="3"\n' \
    >"$dir/config/registry.reg"
  python3 "$here/prose.py" articles "$dir/data/VLExport.txt" "$2" "$3"
}

# one_start BIN FOLDER: prints "milliseconds peak_kib cpu_milliseconds".
one_start() {
  local bin=$1 dir=$2 start end pid peak cpu
  rm -f "$dir/data"/verbalune*.dbg "$dir/config"/*.tmp*
  cp "$dir/data/VLExport.txt" "$dir/saved.txt"
  start=$(date +%s%N)
  VERBALUNE_DATA_DIR="$dir/data" VERBALUNE_CONFIG_DIR="$dir/config" "$bin" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 12000); do
    [ "$(grep -cs -e "Exiting FormShow" -e "Exiting FormActivate" "$dir/data/verbalune.dbg")" = 2 ] &&
      break
    sleep 0.005
  done
  end=$(date +%s%N)
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
  # User and system time in clock ticks (fields 14 and 15; the name before
  # them has no spaces).
  cpu=$(awk -v hz="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$pid/stat" 2>/dev/null || echo 0)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  # A start that fell back on its activation timer measured the timer.
  grep -qs "continuing start-up" "$dir/data/verbalune.dbg" && echo "activation fallback" >&2
  mv "$dir/saved.txt" "$dir/data/VLExport.txt"
  echo "$(((end - start) / 1000000)) $peak $cpu"
}

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# start_figure BIN FOLDER: prints "median_ms peak_mib median_cpu_ms".
start_figure() {
  local times=() cpus=() peak=0 ms kib cpu
  one_start "$1" "$2" >/dev/null  # warm the caches once
  for _ in $(seq "$runs"); do
    read -r ms kib cpu < <(one_start "$1" "$2")
    times+=("$ms")
    cpus+=("$cpu")
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  echo "$(median "${times[@]}") $((peak / 1024)) $(median "${cpus[@]}")"
}

# bench_figure BIN_DIR FILTER COUNTER [ENV=VALUE]: the counter of one
# benchmark, run in a process of its own so its peak memory is its own; "-"
# when the build has no such benchmark.
bench_figure() {
  local bin=$1/bin/bench_articles filter=$2 counter=$3
  shift 3
  env "$@" "$bin" --benchmark_filter="$filter" --benchmark_format=json 2>/dev/null |
    python3 -c "import json,sys; t=sys.stdin.read(); l=json.loads(t)['benchmarks'] if t.strip() else []; b=l[0] if l else {}; print(round(b['$counter'], 1) if '$counter' in b else ('error' if l else '-'))"
}

declare -A figure
for s in "empty 0 0" "1000x5 1000 5000" "4000x5 4000 5000" "2000x10 2000 10000"; do
  read -r name count chars <<<"$s"
  prepare "$work/$name" "$count" "$chars"
  for i in "${!builds[@]}"; do
    read -r ms mib cpu < <(start_figure "${builds[$i]}/bin/verbalune" "$work/$name")
    figure[$name,$i]=$ms figure[$name,$i,mem]=$mib figure[$name,$i,cpu]=$cpu
  done
done
python3 "$here/prose.py" book "$work/book10.txt" 10
python3 "$here/prose.py" book "$work/book50.txt" 50
for i in "${!builds[@]}"; do
  for mb in 10 50; do
    figure[book$mb,$i]=$(bench_figure "${builds[$i]}" BM_OpenTextFile real_time \
      VERBALUNE_BENCH_BOOK="$work/book$mb.txt")
    figure[book$mb,$i,cpu]=$(bench_figure "${builds[$i]}" BM_OpenTextFile cpu_time \
      VERBALUNE_BENCH_BOOK="$work/book$mb.txt")
    figure[book$mb,$i,mem]=$(bench_figure "${builds[$i]}" BM_OpenTextFile peak_rss_MB \
      VERBALUNE_BENCH_BOOK="$work/book$mb.txt")
  done
  figure[next,$i]=$(bench_figure "${builds[$i]}" BM_NextArticleAutoDelete ui_ms_per_article)
  figure[export,$i]=$(bench_figure "${builds[$i]}" 'BM_ExportUiThread/2000/10000' real_time)
done

ratio() { python3 -c "print(f'{$1 / max($2, 1):.1f}')"; }
cell() {
  local i=$1
  case $2 in
    2000x10) echo "${figure[2000x10,$i]} ms ($(ratio "${figure[2000x10,$i]}" "${figure[empty,$i]}") x empty; CPU ${figure[2000x10,$i,cpu]} ms, $(ratio "${figure[2000x10,$i,cpu]}" "${figure[empty,$i,cpu]}") x), ${figure[2000x10,$i,mem]} MB" ;;
    1000x5) echo "${figure[1000x5,$i]} ms (CPU ${figure[1000x5,$i,cpu]} ms)" ;;
    growth) echo "$(ratio "${figure[4000x5,$i]}" "${figure[1000x5,$i]}") x (${figure[1000x5,$i]} -> ${figure[4000x5,$i]} ms; CPU $(ratio "${figure[4000x5,$i,cpu]}" "${figure[1000x5,$i,cpu]}") x)" ;;
    book*) echo "${figure[$2,$i]} ms (CPU ${figure[$2,$i,cpu]} ms), ${figure[$2,$i,mem]} MB" ;;
    next) echo "${figure[next,$i]} ms" ;;
    export) echo "${figure[export,$i]} ms" ;;
    empty) echo "${figure[empty,$i]} ms (CPU ${figure[empty,$i,cpu]} ms), ${figure[empty,$i,mem]} MB" ;;
  esac
}
header="| Measure |"
rule="|---|"
for b in "${builds[@]}"; do header+=" $b |"; rule+="---|"; done
echo "$header Aim |"
echo "$rule---|"
row() {
  local line="| $1 |"
  for i in "${!builds[@]}"; do line+=" $(cell "$i" "$2") |"; done
  echo "$line $3 |"
}
row "start, empty list, Xvfb" empty "-"
row "start, 2,000 saved articles of 10 KB (20 MB), Xvfb" 2000x10 "<= 5 x empty, <= 200 MB"
row "start, 1,000 saved articles of 5 KB, Xvfb" 1000x5 "<= 600 ms"
row "growth from 1,000 to 4,000 articles of 5 KB" growth "<= 2.5 x"
row "open a 10 MB text file as one article" book10 "<= 1000 ms, <= 200 MB"
row "open a 50 MB text file" book50 "<= 4000 ms, <= 600 MB"
row "next article in a run over 2,000 articles, auto-delete (UI thread)" next "<= 20 ms"
row "export of 2,000 articles of 10 KB (autosave, UI thread)" export "<= 150 ms"
