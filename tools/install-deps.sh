#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, if any are missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-translations-l10n libgl-dev xvfb xauth xdotool imagemagick
          fonts-liberation2 fonts-dejavu-core libx11-dev libxext-dev libxdamage-dev
          librsvg2-bin dpkg-dev desktop-file-utils appstream pandoc)
# Qt Charts draws the "Verlauf" chart of the results.
packages+=(qt6-charts-dev)
# Wayland: Qt's platform plugin, and a compositor for the test; the test of what a screen
# reader hears switches Qt's accessibility on through its private header.
packages+=(qt6-wayland weston qt6-base-private-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
