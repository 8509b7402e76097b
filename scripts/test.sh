#!/usr/bin/env bash
# Fresh machine: install, build, and run the whole test suite, in a release
# build with the benchmarks (their quick self-checks are tests of it) and
# again under AddressSanitizer and UndefinedBehaviorSanitizer; build the whole
# project once with clang; take and check the screenshots of the real
# program; then fuzz the readers for about a minute.  The release build and
# the clang build make every warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
jobs="$(nproc)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DVORM_WERROR=ON -DVORM_BENCH=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
# clang's warnings differ from GCC's; its build is there for them alone, so
# it is unoptimised, without debug information, and its tests are not run.
cmake -S . -B build-clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
  -DVORM_WERROR=ON -DVORM_BENCH=ON >/dev/null
cmake --build build-clang -j"$jobs"
# The real program under Xvfb, photographed window by window; the pictures
# are checked for what a blank or stray capture would lack.
scripts/screenshots.sh
scripts/check-screenshots.sh
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Release -DVORM_SANITIZE=ON >/dev/null
cmake --build build-san -j"$jobs"
(cd build-san && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")
# The readers under libFuzzer, with clang (which install-deps.sh installs):
# the seeds and every input that once failed, then 30 seconds per target.
if command -v clang++ >/dev/null 2>&1; then
  scripts/fuzz.sh 30
fi
