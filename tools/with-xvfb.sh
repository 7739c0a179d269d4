#!/usr/bin/env bash
# Runs a command with DISPLAY set to a virtual X server of its own, started for it and ended
# after it. Usage: tools/with-xvfb.sh WIDTHxHEIGHT COMMAND [ARGS...]
#
# The server picks a free display itself and names it once it accepts connections (-displayfd);
# choosing the number beforehand, as xvfb-run -a does, races other servers started at the same
# moment, which happens whenever tests run in parallel. It listens only on the abstract local
# socket: a socket file in /tmp/.X11-unix can be removed by another server of the same number
# that is just ending. Should the command still report that it could not reach the display,
# it is run once more on a fresh server, at most three times in all.
set -uo pipefail
size=$1
shift

workdir=$(mktemp -d)
xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

start_server() {
    rm -f "$workdir/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -nolisten unix \
        3>"$workdir/display" 2>"$workdir/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 600); do
        [ -s "$workdir/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if ! [ -s "$workdir/display" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with-xvfb: the virtual X server did not start" >&2
        cat "$workdir/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=:$(head -n 1 "$workdir/display")
}

status=1
for attempt in 1 2 3; do
    start_server || exit 1
    # The command's error output is kept to tell an unreachable display from a real failure,
    # and passed on after it.
    "$@" 2>"$workdir/stderr"
    status=$?
    cat "$workdir/stderr" >&2
    grep -q "could not connect to display\|Can't open display\|cannot open display" \
        "$workdir/stderr" 2>/dev/null || break
    echo "with-xvfb: display $DISPLAY unreachable (attempt $attempt); server log:" >&2
    cat "$workdir/xvfb.log" >&2
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=
done
exit "$status"
