#!/usr/bin/env bash
# Runs every Google Benchmark binary, then every whole-program comparison
# script (bench/<module>/*.sh, each given the build folder).
set -euo pipefail
build=${1:-build-bench}
here=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export VERBALUNE_DATA_DIR="$scratch/data" VERBALUNE_CONFIG_DIR="$scratch/config"
for b in "$build"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_counters_tabular=true
done
for s in "$here"/*/*.sh; do
  [ -f "$s" ] || continue
  echo "== $(basename "$(dirname "$s")")/$(basename "$s")"
  bash "$s" "$build"
done
