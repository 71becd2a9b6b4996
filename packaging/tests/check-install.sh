#!/bin/sh
# Installs into a temporary prefix, validates the menu entry and the
# metainfo, and checks where the start command starts the program.
# Usage: check-install.sh <cmake> <build folder>
set -eu
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
"$1" --install "$2" --prefix "$tmp/usr" >/dev/null
share="$tmp/usr/share"
desktop-file-validate "$share/applications/de.zolvex.Zolvex.desktop"
appstreamcli validate --no-net "$share/metainfo/de.zolvex.Zolvex.metainfo.xml"
test -f "$share/icons/hicolor/256x256/apps/de.zolvex.Zolvex.png"

# The installed program is swapped for one that tells where it was started.
printf '#!/bin/sh\npwd\nstat -c %%a . Data\n' >"$tmp/usr/bin/zolvex"
start="$tmp/usr/bin/zolvex-start"
expect() {
    got="$(env -u XDG_DATA_HOME HOME="$tmp/home" "$@" | tr '\n' ' ')"
    [ "$got" = "$want" ] || { printf 'expected: %s\n     got: %s\n' "$want" "$got"; exit 1; }
}
dir="$tmp/home/.local/share/zolvex"
want="Ordner ./Data in $dir angelegt. $dir 700 700 " expect "$start"
want="$dir 700 700 " expect "$start"
dir="$tmp/xdg/zolvex"
want="Ordner ./Data in $dir angelegt. $dir 700 700 " expect XDG_DATA_HOME="$tmp/xdg" "$start"
dir="$tmp/own folder"
want="Ordner ./Data in $dir angelegt. $dir 700 700 " expect XDG_DATA_HOME="$tmp/xdg" "$start" "$dir"
