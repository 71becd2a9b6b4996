#!/bin/sh
# Writes the README's pictures into docs/: the expenses overview, the largest
# expense type opened down to a sub-type, and an account report with long
# remarks, each taken from the real main window at its default size, drawn
# offscreen on a generated year in a private temporary working folder.
set -e
SRC="$(cd "$(dirname "$0")/.." && pwd)"
"$SRC/scripts/dev-build.sh" tst_window
mkdir -p "$SRC/docs"
QT_QPA_PLATFORM=offscreen ZOLVEX_SCREENSHOTS="$SRC/docs" \
    "$SRC/build-dev/tests/tst_window" screenshotsOfAGeneratedYear >/dev/null
ls "$SRC"/docs/screenshot-*.png
