#!/usr/bin/env bash
# Fails when a tracked C++ file is not as clang-format (with the root .clang-format) writes it.
# The files are checked side by side: one at a time this took most of a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 -n 16 -P "$(nproc)" sh -c '
  bad=0
  for f in "$@"; do
    if ! clang-format --style=file "$f" | cmp -s - "$f"; then
      echo "not formatted: $f (run: clang-format -i $f)"
      bad=1
    fi
  done
  exit $bad' sh
