#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, if any are missing.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-translations-l10n libgl-dev xvfb xauth xdotool imagemagick
          fonts-liberation2 fonts-dejavu-core libx11-dev libxext-dev libxdamage-dev
          librsvg2-bin dpkg-dev desktop-file-utils appstream pandoc)
# Qt Charts draws the "Verlauf" chart of the results.
packages+=(qt6-charts-dev)
# The training journal is an SQLite database, reached through Qt's SQLite driver.
packages+=(libqt6sql6-sqlite)
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
