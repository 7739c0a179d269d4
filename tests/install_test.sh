#!/usr/bin/env bash
# Installs the program with its manual into a temporary prefix, checks the files of the
# installation, and starts the installed program from a folder without "Hauptsta.FKL".
# Usage: install_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
"$here/installed_files_check.sh" "$prefix" "$version"
"$prefix/bin/mentaro-erg" --help | grep -q '^Aufruf: mentaro-erg' ||
    { echo "FAIL: the installed mentaro-erg does not run"; exit 1; }

"$here/installed_program_check.sh" "$prefix/bin/mentaro" "$prefix/share/mentaro"
