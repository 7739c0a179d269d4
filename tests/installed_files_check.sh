#!/usr/bin/env bash
# Checks the files of an installation below PREFIX: every file is there; the icons have their
# sizes; the copyright file is machine-readable; the changelog names this version; the four
# manual pages render without a warning and name every command of mentaro-erg; the HTML manual
# has every picture it shows.
# Usage: installed_files_check.sh PREFIX VERSION
set -euo pipefail
prefix=$1
version=$2
doc=$prefix/share/doc/mentaro
failed=0
fail() { echo "FAIL: $*"; failed=1; }

expected=(
    bin/mentaro
    bin/mentaro-erg
    share/mentaro/Hauptsta.FKL
    share/applications/de.fokulantorium.mentaro.desktop
    share/metainfo/de.fokulantorium.mentaro.metainfo.xml
    share/icons/hicolor/scalable/apps/mentaro.svg
    share/doc/mentaro/copyright
    share/doc/mentaro/changelog.gz
    share/doc/mentaro/Anleitung.html
    share/doc/mentaro/Anleitung.docx
)
pages=(man/man1/mentaro.1.gz man/man1/mentaro-erg.1.gz man/de/man1/mentaro.1.gz
       man/de/man1/mentaro-erg.1.gz)
for page in "${pages[@]}"; do expected+=("share/$page"); done
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/mentaro.png")
done
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || fail "$file not installed"
done
for program in mentaro mentaro-erg; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program not executable"
done
[ $failed -eq 0 ] || exit 1
echo "all ${#expected[@]} files installed"

for size in 16 24 32 48 64 128 256; do
    identify -format '%w %h\n' "$prefix/share/icons/hicolor/${size}x${size}/apps/mentaro.png" |
        grep -qx "$size $size" || fail "the ${size}x${size} icon has another size"
done
desktop=$prefix/share/applications/de.fokulantorium.mentaro.desktop
grep -qx 'Exec=mentaro' "$desktop" && grep -qx 'Icon=mentaro' "$desktop" ||
    fail "the desktop entry does not start mentaro with its icon"
head -n 1 "$doc/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not machine-readable"
zcat "$doc/changelog.gz" | head -n 1 | grep -q "^mentaro ($version) " ||
    fail "the changelog does not begin with version $version"

# As lintian renders them; a warning of groff or man fails. The commands are the first words
# after "mentaro-erg" in its usage lines, up to the first argument in capitals.
commands=$("$prefix/bin/mentaro-erg" --help |
           sed -n 's/^\(Aufruf:\)\? *mentaro-erg \([a-z ]*[a-z]\).*/\2/p')
[ -n "$commands" ] || fail "no commands in mentaro-erg --help"
for page in "${pages[@]}"; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
               man --warnings -E UTF-8 -l -Tutf8 -Z "$prefix/share/$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page renders with warnings: $warnings"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l -Tutf8 "$prefix/share/$page" 2>/dev/null |
           sed 's/.\x08//g')
    grep -q '^EXIT STATUS$\|^RÜCKGABEWERT$' <<<"$text" || fail "$page has no exit status"
    case $page in
    *mentaro-erg.1.gz)
        while read -r command; do
            grep -qF "mentaro-erg $command" <<<"$text" || fail "$page lacks \"$command\""
        done <<<"$commands"
        ;;
    esac
done
echo "manual pages render without warnings and name the commands: $(paste -sd, <<<"$commands")"

# Every picture the HTML manual shows, as a file beside it.
pictures=$(grep -o '<img [^>]*src="[^"]*"' "$doc/Anleitung.html" | sed 's/.*src="\([^"]*\)"/\1/')
[ -n "$pictures" ] || fail "Anleitung.html shows no picture"
count=0
while read -r picture; do
    case $picture in
    /* | *:*) fail "Anleitung.html shows $picture from outside its folder" ;;
    *) identify "$doc/$picture" >/dev/null 2>&1 || fail "Anleitung.html shows a missing $picture"
       count=$((count + 1)) ;;
    esac
done <<<"$pictures"
echo "Anleitung.html shows its $count pictures"
exit $failed
