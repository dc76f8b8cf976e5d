#!/bin/sh
# Sets up, builds and starts the program on a ready demo account set.
set -e
cd "$(dirname "$0")/.."
sh scripts/setup.sh
sh scripts/build.sh
./build/bin/qelvo-cli demo --if-missing
exec ./build/bin/qelvo "$@"
