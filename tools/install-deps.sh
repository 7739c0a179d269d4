#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, if any are missing;
# with package names as arguments, those instead. While another program holds the package
# manager's lock (an update running in the background), it waits for it, up to
# MENTARO_APT_LOCK_WAIT seconds (300 by default), and then gives up saying so.
set -euo pipefail
packages=(build-essential cmake qt6-base-dev qt6-translations-l10n libgl-dev xvfb xauth xdotool imagemagick
          fonts-liberation2 fonts-dejavu-core libx11-dev libxext-dev libxdamage-dev
          librsvg2-bin dpkg-dev desktop-file-utils appstream pandoc)
# Qt Charts draws the "Verlauf" chart of the results.
packages+=(qt6-charts-dev)
# The manual pages and the package check; the window manager of the manual's pictures.
packages+=(scdoc man-db lintian openbox x11-utils)
# Wayland: Qt's platform plugin, and a compositor for the test; the test of what a screen
# reader hears switches Qt's accessibility on through its private header.
packages+=(qt6-wayland weston qt6-base-private-dev)
# The training journal is an SQLite database, reached through Qt's SQLite driver.
packages+=(libqt6sql6-sqlite)
[ $# -gt 0 ] && packages=("$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

wait_limit=${MENTARO_APT_LOCK_WAIT:-300}
# What apt says when another program holds one of its locks.
busy='Could not get lock\|Unable to acquire the dpkg frontend lock\|Unable to lock'
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
# apt-get waits for the dpkg lock itself (DPkg::Lock::Timeout), but "update" gives up at once
# on the lock of the package lists, so a busy lock is tried again here until the time is up.
apt_get() {
    local started=$SECONDS said=
    while :; do
        local left=$((wait_limit - (SECONDS - started)))
        [ $left -gt 0 ] || left=1
        if "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive \
               apt-get -o DPkg::Lock::Timeout="$left" "$@" 2>"$errors"; then
            cat "$errors" >&2
            return 0
        fi
        if ! grep -q "$busy" "$errors"; then
            cat "$errors" >&2
            return 1
        fi
        if [ $((SECONDS - started)) -ge "$wait_limit" ]; then
            cat "$errors" >&2
            echo "install-deps: another program has held the package manager's lock for" \
                 "${wait_limit} s (see above); run this again when it has finished" >&2
            return 1
        fi
        if [ -z "$said" ]; then
            echo "install-deps: waiting up to ${wait_limit} s for the package manager's lock:" \
                 "$(grep -m 1 "$busy" "$errors")" >&2
            said=1
        fi
        sleep 2
    done
}

echo "Installing: ${missing[*]}"
apt_get update -qq
apt_get install -y -qq "${missing[@]}"
