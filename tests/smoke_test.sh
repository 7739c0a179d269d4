#!/usr/bin/env bash
# Starts the real program under a virtual X server, waits for the main window, takes a
# screenshot and ends the program through its menu ("&Datei", "&Beenden").
set -euo pipefail
binary=$1
screenshot=$2
workdir=$(mktemp -d)
trap 'rm -rf "$workdir"' EXIT
cp "$(dirname "$binary")/Hauptsta.FKL" "$workdir/"
cd "$workdir"

xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -u
    "$0" & pid=$!
    # Waits (up to a minute, checking every tenth of a second) until the command succeeds.
    wait_for() {
        for _ in $(seq 600); do
            "$@" >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        return 1
    }
    visible_windows() { xdotool search --onlyvisible --pid $pid 2>/dev/null | wc -l; }
    menu_open() { [ "$(visible_windows)" -gt "$shown" ]; }
    ended() { ! kill -0 $pid 2>/dev/null; }
    if ! wait_for xdotool search --onlyvisible --name "^Fokulantorium$"; then
        echo "main window not shown"; kill $pid; exit 1
    fi
    window=$(xdotool search --onlyvisible --name "^Fokulantorium$" | head -n 1)
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    import -window root "$1"
    # The menu opens as a window of its own; "b" is typed only once it is there.
    shown=$(visible_windows)
    xdotool key --clearmodifiers alt+d
    if ! wait_for menu_open; then
        echo "menu did not open"; kill $pid; exit 1
    fi
    xdotool key b
    if ! wait_for ended; then
        echo "program did not end"; kill $pid; exit 1
    fi
    wait $pid
' "$binary" "$screenshot"
echo "screenshot: $screenshot"
