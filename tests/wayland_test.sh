#!/usr/bin/env bash
# On a Wayland compositor of its own (Weston, headless, drawing in software, with its desktop
# panel): runs the screen-fit test of the windows, then starts the real program and waits until
# the compositor shows its main window inside the screen.
# Usage: wayland_test.sh SCREEN-FIT-TEST PROGRAM
set -uo pipefail
fit_test=$1
binary=$2
width=1366
height=768

runtime=$(mktemp -d)
chmod 700 "$runtime"
workdir=$(mktemp -d)
weston_pid=
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null; wait "$program_pid" 2>/dev/null; fi
    if [ -n "$weston_pid" ]; then kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; fi
    rm -rf "$runtime" "$workdir"
}
trap cleanup EXIT
fail() {
    echo "$1"
    for log in "$runtime/weston.log" "$workdir/program.log"; do
        if [ -s "$log" ]; then echo "--- $log"; tail -n 30 "$log"; fi
    done
    exit 1
}

export XDG_RUNTIME_DIR=$runtime
export WAYLAND_DISPLAY=mentaro-test
# --debug lets weston-debug read the compositor's scene: where it shows each window.
weston --backend=headless-backend.so --use-pixman --width=$width --height=$height \
    --socket="$WAYLAND_DISPLAY" --idle-time=0 --debug >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 600); do
    [ -S "$runtime/$WAYLAND_DISPLAY" ] && break
    kill -0 "$weston_pid" 2>/dev/null || fail "Weston ended at its start"
    sleep 0.1
done
[ -S "$runtime/$WAYLAND_DISPLAY" ] || fail "Weston did not open its socket"

export QT_QPA_PLATFORM=wayland
# A headless Weston has no seat, and Qt 6.4's Wayland text input then crashes as soon as a
# field takes the focus; a desktop always has a seat.
export QT_IM_MODULE=none
"$fit_test" || fail "the windows do not fit on Wayland"

cp "$(dirname "$binary")/Hauptsta.FKL" "$workdir/"
cd "$workdir"
"$binary" >program.log 2>&1 &
program_pid=$!
# "position: (x, y) -> (x2, y2)" of the main window's view, once the compositor shows it.
main_window_place() {
    timeout 10 weston-debug scene-graph 2>/dev/null | awk '
        /top-level window .Fokulantorium. of / { found = 1; next }
        found && /position:/ { gsub(/[(),]/, " "); print $2, $3, $5, $6; exit }'
}
place=
for _ in $(seq 600); do
    kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its main window was shown"
    place=$(main_window_place)
    [ -n "$place" ] && break
    sleep 0.1
done
[ -n "$place" ] || fail "the main window was not shown"
read -r left top right bottom <<<"$place"
echo "main window: ($left, $top) -> ($right, $bottom) on $width x $height"
if [ "$left" -lt 0 ] || [ "$top" -lt 0 ] || [ "$right" -gt $width ] || [ "$bottom" -gt $height ]; then
    fail "the main window does not lie inside the screen"
fi
