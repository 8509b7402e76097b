#!/usr/bin/env bash
# Fresh machine: install, build, and run the engine on the shipped example job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
mkdir -p build/example-run
cd build/bin/examples
../VORMCALC EXAMPLE.CMD ../../example-run/ > ../../example-run/console.txt || true
echo "status: $(head -n 1 ../../example-run/status)"
echo "report: build/example-run/FT06F001"
