#!/bin/sh
# Installs the Debian 12 packages the program needs, only when missing.
# Root runs apt-get directly, everyone else through sudo.
set -e

PACKAGES="cmake g++ make qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite \
libgl-dev fonts-liberation sqlite3 \
xvfb xdotool x11-utils x11-xkb-utils imagemagick dbus python3-pyatspi gir1.2-atspi-2.0 at-spi2-core \
poppler-utils \
desktop-file-utils appstream dpkg-dev file"

missing=""
for pkg in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $pkg"
    fi
done

if [ -z "$missing" ]; then
    exit 0
fi

echo "Installiere fehlende Pakete:$missing"
if [ "$(id -u)" -eq 0 ]; then
    SUDO=""
else
    SUDO="sudo"
fi
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
