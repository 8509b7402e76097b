#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, only where missing.
set -euo pipefail
need=()
# The front end: Qt 6 Widgets, PrintSupport and Charts (whose CMake files need
# the OpenGL development package), fonts so that text renders offscreen (the
# plots' condensed face is in the extra set), the
# German locale for the comma-locale test run, and Xvfb with xauth, xdotool
# and ImageMagick's import for scripts/screenshots.sh.
# clang with its runtime builds the fuzz targets.
for p in g++ cmake make clang-format libgtest-dev libboost-dev clang libclang-rt-14-dev \
         qt6-base-dev qt6-charts-dev libqt6opengl6-dev fonts-dejavu-core fonts-dejavu-extra locales-all \
         xvfb xauth xdotool imagemagick; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi
