#!/bin/sh
# Development build in ./build-dev (Debug). Several people may call this at
# once on the same tree: a lock serialises the builds so that each object is
# compiled once. Usage: scripts/dev-build.sh [target...]
set -e
SRC="$(cd "$(dirname "$0")/.." && pwd)"
exec 9>"$SRC/.dev-build.lock"
flock 9
# Configure every time: new source files and tests are picked up by globs.
cmake -S "$SRC" -B "$SRC/build-dev" -DCMAKE_BUILD_TYPE=Debug >/dev/null
if [ $# -eq 0 ]; then
    cmake --build "$SRC/build-dev" -j2
else
    for t in "$@"; do
        cmake --build "$SRC/build-dev" -j2 --target "$t"
    done
fi
