#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=0
while IFS= read -r f; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "needs clang-format: $f"
    bad=1
  fi
done < <(git ls-files '*.cpp' '*.h')
[ $bad -eq 0 ] || { echo "Run 'make format' to fix."; exit 1; }
