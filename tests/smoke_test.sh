#!/usr/bin/env bash
# Starts the real program under a virtual X server, waits for the main window, takes a
# screenshot and ends the program through its menu ("&Datei", "&Beenden").
set -euo pipefail
binary=$(realpath "$1")
screenshot=$(realpath "$2")
workdir=$(mktemp -d)
xvfb_pid=
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$workdir"
}
trap cleanup EXIT
cp "$(dirname "$binary")/Hauptsta.FKL" "$workdir/"
cd "$workdir"

# Waits (up to a minute, checking every tenth of a second) until the command succeeds.
wait_for() {
    for _ in $(seq 600); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}
fail() {
    echo "$1"
    if [ -s "$workdir/program.log" ]; then cat "$workdir/program.log"; fi
    exit 1
}

# The server picks a free display itself and names it once it accepts connections; choosing
# the number beforehand races other servers started at the same moment. It listens only on
# the abstract local socket: a socket file in /tmp/.X11-unix can be removed by another server
# of the same number that is just ending.
start_server() {
    rm -f "$workdir/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -nolisten unix \
        3>"$workdir/display" 2>"$workdir/xvfb.log" &
    xvfb_pid=$!
    server_ready() { [ -s "$workdir/display" ] || ! kill -0 "$xvfb_pid"; }
    wait_for server_ready && kill -0 "$xvfb_pid" 2>/dev/null || fail "virtual X server did not start"
    export DISPLAY=:$(head -n 1 "$workdir/display")
}
running() { kill -0 "$pid" 2>/dev/null; }
main_window_or_end() { xdotool search --onlyvisible --name "^Fokulantorium$" || ! running; }

# On a machine where other X servers come and go, a fresh server can still be unreachable;
# only that is tried again, with a new server. Any other early end is a failure.
for attempt in 1 2 3; do
    start_server
    "$binary" 2>"$workdir/program.log" &
    pid=$!
    wait_for main_window_or_end || fail "main window not shown"
    running && break
    grep -q "could not connect to display" "$workdir/program.log" ||
        fail "program ended before its main window was shown"
    echo "display $DISPLAY unreachable (attempt $attempt); server log:"
    cat "$workdir/xvfb.log"
    pid=
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=
done
running || fail "no reachable virtual X server"
window=$(xdotool search --onlyvisible --name "^Fokulantorium$" | head -n 1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
# Shown is not yet painted: the screenshot is taken once the screen holds more than black.
painted() { import -window root "$screenshot" && [ "$(convert "$screenshot" -format %k info:)" -gt 1 ]; }
wait_for painted || fail "main window not painted"

# The menu opens as a window of its own; "b" is typed only once it is there.
visible_windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
shown=$(visible_windows)
menu_open() { [ "$(visible_windows)" -gt "$shown" ]; }
xdotool key --clearmodifiers alt+d
wait_for menu_open || fail "menu did not open"
xdotool key b
ended() { ! running; }
wait_for ended || fail "program did not end"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || fail "program ended with status $status"
echo "screenshot: $screenshot"
