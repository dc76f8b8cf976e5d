#!/bin/sh
# Configures and builds into ./build (ccache and precompiled headers make the second build quick).
set -e
cd "$(dirname "$0")/.."
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
export CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > .cmake.log 2>&1 || { cat .cmake.log; exit 1; }
cmake --build build -j"$(nproc)"
