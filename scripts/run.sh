#!/bin/sh
# Installs what is missing, builds, and starts the program in the folder
# this script is called from; that folder holds the program's ./Data.
set -e
SRC="$(cd "$(dirname "$0")/.." && pwd)"
"$SRC/scripts/build.sh"
if [ ! -d ./Data ]; then
    mkdir -m 700 ./Data
    echo "Ordner ./Data in $(pwd) angelegt."
fi
exec "$SRC/build/zolvex" "$@"
