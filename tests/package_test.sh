#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks it with lintian (no error, no
# warning), unpacks it into a temporary root and starts the unpacked program from another
# folder with a fresh home folder: the main window appears without a message box and a
# capitals game starts.
# Usage: package_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/package" \
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
              qt6-wayland libqt6sql6-sqlite fonts-liberation2; do
    grep -q "$needed" <<<"$depends" || { echo "FAIL: no dependency on $needed"; exit 1; }
done
if grep -q -- '-dev\b' <<<"$depends"; then echo "FAIL: depends on a -dev package"; exit 1; fi

"$here/../tools/check-package.sh" "$deb"
[ "$(field Section)" = education ] || { echo "FAIL: section $(field Section)"; exit 1; }

dpkg-deb -x "$deb" "$work/root"
"$here/installed_files_check.sh" "$work/root/usr" "$version"
"$work/root/usr/bin/mentaro-erg" --help | grep -q '^Aufruf: mentaro-erg' ||
    { echo "FAIL: the packaged mentaro-erg does not run"; exit 1; }
"$here/installed_program_check.sh" "$work/root/usr/bin/mentaro" "$work/root/usr/share/mentaro" --capitals
