#!/usr/bin/env bash
# Usage: links_no_engine_code.sh FRONTEND ENGINE
# Fails when a function that the engine program defines outside any inline or
# template code (a strong C++ text symbol) is also defined in the front end.
set -euo pipefail
strong_functions() { nm --defined-only "$1" | awk '$2 == "T" && $3 ~ /^_Z/ { print $3 }' | sort -u; }
engine=$(strong_functions "$2")
if [ -z "$engine" ]; then
  echo "no engine functions found in $2: the check would prove nothing"
  exit 1
fi
shared=$(comm -12 <(strong_functions "$1") <(printf '%s\n' "$engine"))
if [ -n "$shared" ]; then
  echo "the front end holds engine code:"
  printf '%s\n' "$shared" | c++filt | head -20
  exit 1
fi
echo "front end and engine share no function ($(printf '%s\n' "$engine" | wc -l) engine functions checked)"
