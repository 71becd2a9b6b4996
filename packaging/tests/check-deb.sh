#!/bin/sh
# Builds the Debian package from the build folder and checks its files and
# the Debian 12 packages it depends on.
# Usage: check-deb.sh <cpack> <build folder>
set -eu
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"$1" -G DEB --config "$2/CPackConfig.cmake" -B "$tmp" >/dev/null
deb="$(echo "$tmp"/zolvex_*.deb)"
dpkg-deb -c "$deb" | awk '{ print $6 }' >"$tmp/files"
dpkg-deb -f "$deb" Depends | sed 's/ *([^)]*)//g; s/, */\n/g' >"$tmp/depends"
check() {
    grep -qx -- "$2" "$tmp/$1" || { echo "missing in $1: $2"; exit 1; }
}
for file in bin/zolvex bin/zolvex-start share/applications/de.zolvex.Zolvex.desktop \
            share/icons/hicolor/48x48/apps/de.zolvex.Zolvex.png \
            share/metainfo/de.zolvex.Zolvex.metainfo.xml; do
    check files "./usr/$file"
done
for package in libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6gui6 fonts-liberation; do
    check depends "$package"
done
