#!/usr/bin/env bash
# Installs the program into a temporary prefix, checks that every file of the installation is
# there, and starts the installed program from a folder without "Hauptsta.FKL".
# The manual (made by pandoc) is left out: only `make install` and `make package` make it.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" --component program >/dev/null

expected=(
    bin/mentaro
    bin/mentaro-erg
    share/mentaro/Hauptsta.FKL
    share/applications/de.fokulantorium.mentaro.desktop
    share/metainfo/de.fokulantorium.mentaro.metainfo.xml
    share/icons/hicolor/scalable/apps/mentaro.svg
    share/doc/mentaro/COPYING
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/mentaro.png")
done
missing=0
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || { echo "FAIL: $file not installed"; missing=1; }
done
for program in mentaro mentaro-erg; do
    [ -x "$prefix/bin/$program" ] || { echo "FAIL: bin/$program not executable"; missing=1; }
done
[ $missing -eq 0 ] || exit 1
for size in 16 24 32 48 64 128 256; do
    identify -format '%w %h\n' "$prefix/share/icons/hicolor/${size}x${size}/apps/mentaro.png" |
        grep -qx "$size $size" || { echo "FAIL: the ${size}x${size} icon has another size"; exit 1; }
done
cmp "$prefix/share/doc/mentaro/COPYING" "$source/COPYING"
grep -qx 'Exec=mentaro' "$prefix/share/applications/de.fokulantorium.mentaro.desktop"
grep -qx 'Icon=mentaro' "$prefix/share/applications/de.fokulantorium.mentaro.desktop"
echo "all ${#expected[@]} files installed"
"$prefix/bin/mentaro-erg" --help | grep -q '^Aufruf: mentaro-erg' ||
    { echo "FAIL: the installed mentaro-erg does not run"; exit 1; }

"$here/installed_program_check.sh" "$prefix/bin/mentaro" "$prefix/share/mentaro"
