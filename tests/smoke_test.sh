#!/usr/bin/env bash
# Starts the real program under a virtual X server, waits for the main window, takes a
# screenshot and ends the program through its menu ("&Datei", "&Beenden").
set -euo pipefail
if [ -z "${MENTARO_SMOKE_DISPLAY:-}" ]; then
    exec env MENTARO_SMOKE_DISPLAY=1 "$(dirname "$0")/../tools/with-xvfb.sh" 1280x1024 "$0" "$@"
fi
binary=$(realpath "$1")
screenshot=$(realpath "$2")
workdir=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$workdir"
}
trap cleanup EXIT
cp "$(dirname "$binary")/Hauptsta.FKL" "$workdir/"
cd "$workdir"
# The journal goes here, not into the player's own data folder.
export XDG_DATA_HOME=$workdir/data

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

running() { kill -0 "$pid" 2>/dev/null; }
main_window_or_end() { xdotool search --onlyvisible --name "^Fokulantorium$" || ! running; }

"$binary" 2>"$workdir/program.log" &
pid=$!
wait_for main_window_or_end || fail "main window not shown"
# An unreachable display is reported on the error output, where the X server wrapper looks
# for it to try again on a fresh server.
running || { cat "$workdir/program.log" >&2; fail "program ended before its main window was shown"; }
window=$(xdotool search --onlyvisible --name "^Fokulantorium$" | head -n 1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
# Shown is not yet painted: the screenshot is taken once the screen holds more than black.
painted() { import -window root "$screenshot" && [ "$(convert "$screenshot" -format %k info:)" -gt 1 ]; }
wait_for painted || fail "main window not painted"
# The icon comes just after the first frame, in every size the program carries up to 128.
has_icon() { [ "$(xprop -id "$window" _NET_WM_ICON | grep -c 'Icon (')" -ge 6 ]; }
wait_for has_icon || fail "main window has no icon: $(xprop -id "$window" _NET_WM_ICON | head -c 200)"

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
