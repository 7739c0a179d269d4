#!/usr/bin/env bash
# Runs the screen-fit test of the windows on a Wayland compositor of its own: Weston, headless,
# drawing in software, with its desktop panel, which Qt cannot see.
# Usage: wayland_test.sh SCREEN-FIT-TEST
set -uo pipefail
runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=
cleanup() {
    if [ -n "$weston_pid" ]; then kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; fi
    rm -rf "$runtime"
}
trap cleanup EXIT
fail() { echo "$1"; tail -n 30 "$runtime/weston.log"; exit 1; }

export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=mentaro-test QT_QPA_PLATFORM=wayland
weston --backend=headless-backend.so --use-pixman --width=1366 --height=768 \
    --socket="$WAYLAND_DISPLAY" --idle-time=0 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 600); do
    [ -S "$runtime/$WAYLAND_DISPLAY" ] && break
    kill -0 "$weston_pid" 2>/dev/null || fail "Weston ended at its start"
    sleep 0.1
done
[ -S "$runtime/$WAYLAND_DISPLAY" ] || fail "Weston did not open its socket"
# A headless Weston has no seat, and Qt 6.4's Wayland text input then crashes as soon as a
# field takes the focus; a desktop always has a seat.
QT_IM_MODULE=none "$1" || fail "the windows do not fit on Wayland"
