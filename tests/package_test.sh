#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and starts the unpacked program
# from another folder with a fresh home folder: the main window appears without a message box
# and a capitals game starts. The manual (made by pandoc) is left out of this package.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

MENTARO_PACKAGE_COMPONENTS=program cpack --config "$build/CPackConfig.cmake" -B "$work/package" \
    >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
debs=("$work"/package/mentaro_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no package mentaro_${version}_*.deb"; exit 1; }
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = mentaro ] || { echo "FAIL: package name $(field Package)"; exit 1; }
[ "$(field Version)" = "$version" ] || { echo "FAIL: version $(field Version)"; exit 1; }
depends=$(field Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6printsupport6 libqt6charts6 qt6-translations-l10n qt6-qpa-plugins \
              libqt6sql6-sqlite fonts-liberation2; do
    grep -q "$needed" <<<"$depends" || { echo "FAIL: no dependency on $needed"; exit 1; }
done
if grep -q -- '-dev\b' <<<"$depends"; then echo "FAIL: depends on a -dev package"; exit 1; fi

dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/mentaro-erg" --help | grep -q '^Aufruf: mentaro-erg' ||
    { echo "FAIL: the packaged mentaro-erg does not run"; exit 1; }
"$here/installed_program_check.sh" "$work/root/usr/bin/mentaro" "$work/root/usr/share/mentaro" --capitals
