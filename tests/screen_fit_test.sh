#!/usr/bin/env bash
# Starts the real program under a virtual X server of the given size and opens, with the
# keyboard, the settings window, the individual result, the "Verlauf" chart of a results file
# and the colour exercise: each must lie inside the screen and carry exactly its own caption.
set -euo pipefail
with_xvfb=$(cd "$(dirname "$0")/../tools" && pwd)/with-xvfb.sh
binary=$1
size=$2
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
cp "$(dirname "$binary")/Hauptsta.FKL" "$workdir/"
cd "$workdir"
# The journal goes here, not into the player's own data folder.
export XDG_DATA_HOME=$workdir/data
# A results file of two games: length-prefixed texts, then little-endian numbers.
record() {
    printf '\x14%s\x04Test\0\0\0\0\0\0\0\0\x01-\0\0\0\0\0\0\0\0\0\0\0\0' "$1"
    printf "\\x64\\0\\0\\0\\x64\\0\\0\\0\\x$(printf %02x "$3")\\0\\0\\0\\x$(printf %02x "$4")\\0\\0\\0"
    printf "\\x$(printf %02x "$2")\\0\\0\\0\\x06\\0\\0\\0\\x09\\x0c\\x0c\\x10\\x0f\\x14\\0\\0"
}
{ record 01.03.2024--09:00:00 3 30 40; record 05.03.2024--18:30:00 4 45 52; } >Probe.ERG

"$with_xvfb" "$size" bash -c '
    set -u
    binary=$1
    size=$2
    screen_width=${size%x*}
    screen_height=${size#*x}
    "$binary" & pid=$!
    failed=0

    # The visible windows whose caption matches. A window that vanishes while xdotool walks the
    # window tree (a menu closing, say) kills that search with an X error: it is repeated, so
    # only "no such window" comes back as status 1.
    search_visible() {
        local ids
        for _ in 1 2 3 4 5; do
            if ids=$(xdotool search --onlyvisible --name "$1" 2>.search-errors); then
                echo "$ids"
                return 0
            fi
            grep -q "X Error" .search-errors || return 1
        done
        return 2
    }
    # Waits for a visible window whose caption matches, sets $window to it and gives it the
    # keyboard.
    window_named() {
        window=
        for _ in $(seq 300); do
            window=$(search_visible "$1" | head -n 1)
            [ -n "$window" ] && break
            sleep 0.1
        done
        [ -n "$window" ] || { echo "no window \"$1\""; kill $pid; exit 1; }
        xdotool windowfocus --sync "$window" 2>/dev/null || true
    }
    # Waits until no visible window has the caption any more.
    window_gone() {
        for _ in $(seq 300); do
            search_visible "$1" >/dev/null
            [ $? -eq 1 ] && return 0
            sleep 0.1
        done
        echo "window \"$1\" still shown"; kill $pid; exit 1
    }
    check_inside() {
        local id=$1 caption=$2 X Y WIDTH HEIGHT WINDOW SCREEN
        eval "$(xdotool getwindowgeometry --shell "$id")"
        local name
        name=$(xdotool getwindowname "$id")
        echo "$caption: ${WIDTH}x${HEIGHT} at $X,$Y on $size"
        if [ "$X" -lt 0 ] || [ "$Y" -lt 0 ] || [ $((X + WIDTH)) -gt "$screen_width" ] ||
           [ $((Y + HEIGHT)) -gt "$screen_height" ]; then
            echo "  does not lie inside the screen"; failed=1
        fi
        if [ "$name" != "$caption" ]; then
            echo "  caption is \"$name\""; failed=1
        fi
    }

    window_named "^Fokulantorium"
    check_inside "$window" "Fokulantorium"

    xdotool key --clearmodifiers alt+s m
    window_named "^Merken und Wiedergeben"
    check_inside "$window" "Merken und Wiedergeben"

    xdotool key --clearmodifiers alt+l
    window_named "^letztes Einzelergebnis"
    check_inside "$window" "letztes Einzelergebnis"
    xdotool key --clearmodifiers Escape
    window_gone "^letztes Einzelergebnis"

    window_named "^Merken und Wiedergeben"
    xdotool key --clearmodifiers alt+d d
    window_named "^Öffnen$"
    xdotool type --delay 10 "$PWD/Probe.ERG"
    xdotool key --clearmodifiers Return
    window_named "^gespeicherte Gesamtergebnisse"
    xdotool key --clearmodifiers alt+d v
    window_named "^Verlauf$"
    check_inside "$window" "Verlauf"
    xdotool key --clearmodifiers Escape
    window_gone "^Verlauf$"
    window_named "^gespeicherte Gesamtergebnisse"
    xdotool key --clearmodifiers Escape
    window_gone "^gespeicherte Gesamtergebnisse"

    window_named "^Merken und Wiedergeben"
    xdotool key --clearmodifiers alt+z
    window_gone "^Merken und Wiedergeben"

    window_named "^Fokulantorium"
    xdotool key --clearmodifiers alt+s Down Return
    window_named "Farben merken$"
    check_inside "$window" "   Farben merken"
    xdotool key --clearmodifiers alt+d b
    window_gone "Farben merken$"

    window_named "^Fokulantorium"
    xdotool key --clearmodifiers alt+d b
    for _ in $(seq 300); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $pid 2>/dev/null; then echo "program did not end"; kill $pid; exit 1; fi
    wait $pid
    exit $failed
' _ "$binary" "$size"
