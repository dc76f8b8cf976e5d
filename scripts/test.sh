#!/bin/sh
# Sets up, builds and runs every test (headless: windows are driven offscreen).
set -e
cd "$(dirname "$0")/.."
sh scripts/setup.sh
sh scripts/build.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 300
