#!/bin/sh
# Writes docs/screenshot-ausgaben.png: the expenses page of the real main
# window, drawn offscreen on a demo year file (a household's year so far)
# that the window test builds in a private temporary working folder.
set -e
SRC="$(cd "$(dirname "$0")/.." && pwd)"
"$SRC/scripts/dev-build.sh" tst_applwindow
mkdir -p "$SRC/docs"
QT_QPA_PLATFORM=offscreen ZOLVEX_SCREENSHOT="$SRC/docs/screenshot-ausgaben.png" \
    "$SRC/build-dev/tests/tst_applwindow" expensesPageOnDemoData >/dev/null
echo "$SRC/docs/screenshot-ausgaben.png"
