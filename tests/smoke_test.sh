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
    for _ in $(seq 100); do
        xdotool search --name "^Fokulantorium$" >/dev/null 2>&1 && break
        sleep 0.1
    done
    window=$(xdotool search --name "^Fokulantorium$" | head -n 1)
    [ -n "$window" ] || { echo "main window not shown"; kill $pid; exit 1; }
    sleep 1
    import -window root "$1"
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key --clearmodifiers alt+d
    sleep 0.5
    xdotool key b
    for _ in $(seq 100); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $pid 2>/dev/null; then echo "program did not end"; kill $pid; exit 1; fi
    wait $pid
' "$binary" "$screenshot"
echo "screenshot: $screenshot"
