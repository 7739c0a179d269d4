#!/usr/bin/env bash
# Starts an installed program the way a desktop menu does: from a folder without
# "Hauptsta.FKL", with a fresh home folder, under a virtual X server. Checks that the main
# window appears with no message box, that the capitals file was placed in the player's data
# folder, and, with --capitals, that a capitals game starts (its presentation window opens).
# Usage: installed_program_check.sh PROGRAM INSTALLED_DATA_DIR [--capitals]
set -euo pipefail
with_xvfb=$(cd "$(dirname "$0")/../tools" && pwd)/with-xvfb.sh
program=$1
installed_data=$2
capitals=${3:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
mkdir -p "$HOME" "$work/elsewhere"
cd "$work/elsewhere"

"$with_xvfb" 1366x768 bash -c '
    set -u
    program=$1 capitals=$2 shot=$3
    "$program" & pid=$!
    finish() { kill $pid 2>/dev/null; wait $pid 2>/dev/null; exit "$1"; }
    # A message box: a small window with the program name as its title (maximised windows
    # without a caption of their own carry that title too).
    message_box() {
        local candidate
        for candidate in $(xdotool search --onlyvisible --name "^Mentaro$" 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null)" || continue
            if [ "${WIDTH:-0}" -lt 900 ]; then
                echo "FAIL: a message box (${WIDTH}x${HEIGHT}) appeared while waiting for \"$1\""
                import -window root "$shot" 2>/dev/null && echo "screenshot: $shot"
                return 0
            fi
        done
        return 1
    }
    # Waits for a visible window whose title matches $1; a message box or the end of the
    # program fails at once.
    wait_for() {
        for _ in $(seq 600); do
            window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
            [ -n "$window" ] && return 0
            message_box "$1" && return 1
            kill -0 $pid 2>/dev/null || { echo "FAIL: the program ended"; return 1; }
            sleep 0.1
        done
        echo "FAIL: no window \"$1\" within 60 s"
        return 1
    }
    wait_for "^Fokulantorium" || finish 1
    echo "main window shown"
    if [ "$capitals" = --capitals ]; then
        xdotool windowfocus --sync "$window"
        xdotool key --clearmodifiers alt+m
        wait_for "^Merken und Wiedergeben" || finish 1
        xdotool windowfocus --sync "$window"
        xdotool key --clearmodifiers alt+s
        wait_for "^St[^ ]*ren( — Mentaro)?$" || finish 1
        echo "capitals game started"
    fi
    finish 0
' check "$program" "$capitals" "${MENTARO_FAILURE_SCREENSHOT:-/tmp/mentaro-failure.png}"

copied=$HOME/.local/share/mentaro/Hauptsta.FKL
[ -f "$copied" ] || { echo "FAIL: $copied missing"; exit 1; }
cmp "$copied" "$installed_data/Hauptsta.FKL" || { echo "FAIL: $copied differs"; exit 1; }
[ ! -e "$work/elsewhere/Hauptsta.FKL" ] || { echo "FAIL: file left in the start folder"; exit 1; }
echo "capitals file placed in the data folder"
