#!/usr/bin/env bash
# tools/install-deps.sh while another program holds a lock of the package manager: it waits,
# goes on once the lock is free, and gives up with a clear message when the time is up.
# apt works on a package database of its own in a temporary folder (APT_CONFIG), so the
# system's locks and packages are never touched; apt takes locks only for root, so the test
# is skipped for other users.
# Usage: install_deps_test.sh HOLD_LOCK_PROGRAM
set -uo pipefail
hold_lock=$1
script=$(cd "$(dirname "$0")/.." && pwd)/tools/install-deps.sh
[ "$(id -u)" -eq 0 ] || { echo "SKIP: only root may take apt's locks"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{lists/partial,cache/archives/partial,parts,state}
touch "$work/state/status" "$work/sources.list"
export APT_CONFIG=$work/apt.conf
for setting in "State $work/state" "State::Lists $work/lists" "State::status $work/state/status" \
               "Cache $work/cache" "Etc::sourcelist $work/sources.list" "Etc::sourceparts $work/parts" \
               "Etc::parts $work/parts" "Etc::preferencesparts $work/parts" "Log $work"; do
    echo "Dir::${setting% *} \"${setting#* }\";"
done >"$APT_CONFIG"
failed=0

# The holder's standard input is this script's pipe: closing it, or this script's end, frees
# the lock.
hold() {
    coproc HOLDER { exec "$hold_lock" "$work/$1"; }
    read -r -t 30 -u "${HOLDER[0]}" line && [ "$line" = locked ] || { echo "FAIL: no lock $1"; exit 1; }
}
release() {
    local pid=$HOLDER_PID fd=${HOLDER[1]}
    exec {fd}>&-
    wait "$pid"
}
run() { # wait limit; install-deps in the background, its error output in $work/err
    MENTARO_APT_LOCK_WAIT=$1 timeout 90 "$script" mentaro-no-such-package >/dev/null 2>"$work/err" &
    run_pid=$!
}
expect() { # what failed, pattern of the error output
    grep -q "$2" "$work/err" && return 0
    echo "FAIL: $1; error output:"
    sed 's/^/    /' "$work/err"
    failed=1
}

# Held throughout: the lists lock stops "update", the dpkg lock "install".
for lock in lists/lock state/lock-frontend; do
    hold "$lock"
    run 3
    wait "$run_pid" && { echo "FAIL: $lock held, but install-deps succeeded"; failed=1; }
    release
    expect "$lock held: no message naming it" "has held the package manager's lock for 3 s"
    expect "$lock held: no message naming it" "$work/$lock"
done

# Freed while install-deps waits: it goes on to apt, which knows no such package.
hold lists/lock
run 60
for _ in $(seq 300); do
    grep -q 'waiting up to 60 s' "$work/err" || ! kill -0 "$run_pid" 2>/dev/null && break
    sleep 0.1
done
release
wait "$run_pid"
expect "lock freed: install-deps did not wait" "waiting up to 60 s"
expect "lock freed: install-deps did not go on" "Unable to locate package mentaro-no-such-package"
! grep -q "has held" "$work/err" || { echo "FAIL: lock freed, but install-deps gave up"; failed=1; }

[ $failed -eq 0 ] && echo "install-deps waits for a busy lock, goes on once it is free, gives up with a message"
exit $failed
