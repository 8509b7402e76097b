#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, only where missing.
set -euo pipefail
packages=(
  # the build, the tests and the format check
  g++ cmake make git clang-format libgtest-dev libboost-dev
  # clang with its runtime builds the fuzz targets
  clang libclang-rt-14-dev
  # the front end: Qt 6 Widgets, PrintSupport and Charts (whose CMake files
  # need the OpenGL development package)
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev
  # fonts so that text renders offscreen (the plots use DejaVu Sans Condensed)
  fonts-dejavu-core fonts-dejavu-extra
  # the German locale for the comma-locale test run
  locales-all
  # poppler's pdftotext and pdfimages for the tests that read printouts back
  poppler-utils
  # Xvfb with xauth, xdotool and ImageMagick's import for scripts/screenshots.sh
  xvfb xauth xdotool imagemagick
)
need=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi
