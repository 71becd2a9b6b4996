#!/bin/sh
# Installs what is missing, builds, and runs every test.
set -e
SRC="$(cd "$(dirname "$0")/.." && pwd)"
"$SRC/scripts/build.sh"
cd "$SRC/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 --timeout 600
