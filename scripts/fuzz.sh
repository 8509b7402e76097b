#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang in build-fuzz and runs them
# side by side for the given number of seconds each (default 30), starting from
# their seed corpora and the inputs that once failed.  Any crash fails; the
# input that caused it is left in build-fuzz/ (reproduce it with the target and
# the file, and once it is mended keep it in tests/fuzz/regressions/).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ -DVORM_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target fuzz_data_reader fuzz_job_dialogue fuzz_job_file
# The targets' scratch files stay inside the build folder, even when libFuzzer
# ends a run without the process's own clean-up.
export TMPDIR="$PWD/build-fuzz/tmp"
mkdir -p "$TMPDIR"
names=(data_reader job_dialogue job_file)
pids=()
for name in "${names[@]}"; do
  mkdir -p "build-fuzz/found/$name"
  "build-fuzz/tests/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
    -artifact_prefix="build-fuzz/$name-" "build-fuzz/found/$name" \
    "tests/fuzz/corpus/$name" "tests/fuzz/regressions/$name" >"build-fuzz/$name.log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!names[@]}"; do
  if wait "${pids[$i]}"; then
    echo "fuzz_${names[$i]}: $(grep '^Done' "build-fuzz/${names[$i]}.log" || true), no crash"
  else
    status=1
    tail -n 40 "build-fuzz/${names[$i]}.log"
  fi
done
exit $status
