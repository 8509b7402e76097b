#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, only where missing.
set -euo pipefail
need=()
for p in g++ cmake make git clang-format libgtest-dev libboost-dev; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi
