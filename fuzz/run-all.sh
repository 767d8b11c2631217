#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each, starting from its seed corpus in
# fuzz/corpus/<name> (when present). Prints the executions each one made.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
status=0
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target" | sed 's/^fuzz_//')
  work="$build/corpus/$name"
  mkdir -p "$work"
  [ -d "$here/corpus/$name" ] && cp -n "$here/corpus/$name"/* "$work"/ 2>/dev/null || true
  echo "== fuzz_$name for ${seconds}s"
  if ASAN_OPTIONS=detect_leaks=0 "$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/crash-$name-" "$work" >"$build/fuzz_$name.log" 2>&1; then
    grep -E 'stat::number_of_executed_units|Done' "$build/fuzz_$name.log" | tail -n 2
  else
    echo "fuzz_$name FAILED; see $build/fuzz_$name.log"; tail -n 30 "$build/fuzz_$name.log"
    status=1
  fi
done
exit $status
