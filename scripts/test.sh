#!/usr/bin/env bash
# Fresh machine: install, build, and run the whole test suite, in a release
# build and again under AddressSanitizer and UndefinedBehaviorSanitizer; take
# and check the screenshots of the real program; then fuzz the readers for
# about a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/check-format.sh
jobs="$(nproc)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")
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
