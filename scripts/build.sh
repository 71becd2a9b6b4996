#!/bin/sh
# Configures and builds the program, its tests and benchmarks in ./build
# of the source tree.
set -e
SRC="$(cd "$(dirname "$0")/.." && pwd)"
"$SRC/scripts/install-deps.sh"
cmake -S "$SRC" -B "$SRC/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$SRC/build" -j2
