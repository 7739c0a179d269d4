#!/usr/bin/env bash
# tools/install-deps.sh while another program holds a lock of the package manager: it waits,
# goes on once the lock is free, and gives up with a clear message when the time is up.
# apt works on a package database of its own in a temporary folder (APT_CONFIG), so the
# system's locks and packages are never touched; apt refuses to lock without root, so the
# test is skipped for other users.
# Usage: install_deps_test.sh HOLD_LOCK_PROGRAM
set -uo pipefail
hold_lock=$1
script=$(cd "$(dirname "$0")/.." && pwd)/tools/install-deps.sh
[ "$(id -u)" -eq 0 ] || { echo "SKIP: only root may take apt's locks"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{lists/partial,cache/archives/partial,parts,sourceparts,state,log}
touch "$work/state/status" "$work/sources.list"
cat >"$work/apt.conf" <<CONF
Dir::State "$work/state";
Dir::State::Lists "$work/lists";
Dir::State::status "$work/state/status";
Dir::Cache "$work/cache";
Dir::Etc::sourcelist "$work/sources.list";
Dir::Etc::sourceparts "$work/sourceparts";
Dir::Etc::parts "$work/parts";
Dir::Etc::preferencesparts "$work/parts";
Dir::Log "$work/log";
CONF
export APT_CONFIG=$work/apt.conf
missing=mentaro-no-such-package
failed=0

# hold LOCK: holds $work/LOCK until release; the lock goes with this script in any case.
hold() {
    coproc HOLDER { exec "$hold_lock" "$work/$1"; }
    local line=
    read -r -t 30 -u "${HOLDER[0]}" line
    [ "$line" = locked ] || { echo "FAIL: could not take $1"; exit 1; }
}
release() {
    local pid=$HOLDER_PID
    local fd=${HOLDER[1]}
    exec {fd}>&-
    wait "$pid"
}
# run WAIT: install-deps with that limit, in the background; its error output in $work/err.
run() {
    MENTARO_APT_LOCK_WAIT=$1 timeout 90 "$script" "$missing" >"$work/out" 2>"$work/err" &
    run_pid=$!
}
finish() { wait "$run_pid"; status=$?; }
expect() { # description, pattern in the error output
    grep -q "$2" "$work/err" && return 0
    echo "FAIL: $1 (exit $status); error output:"
    sed 's/^/    /' "$work/err"
    failed=1
}

# A lock held throughout: the lists lock stops "update", the dpkg lock "install".
for lock in lists/lock state/lock-frontend; do
    hold "$lock"
    run 3
    finish
    release
    [ $status -ne 0 ] || { echo "FAIL: $lock held, but install-deps succeeded"; failed=1; }
    expect "$lock held: no message that the lock was held too long" \
           "has held the package manager's lock for 3 s"
    expect "$lock held: the message does not name the lock" "$work/$lock"
done

# A lock freed while install-deps waits: it goes on to apt, which finds no such package.
hold lists/lock
run 60
for _ in $(seq 300); do
    grep -q 'waiting up to 60 s' "$work/err" && break
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 0.1
done
release
finish
expect "lock freed: install-deps did not wait for it" "waiting up to 60 s"
expect "lock freed: install-deps did not go on to install" "Unable to locate package $missing"
if grep -q "has held" "$work/err"; then echo "FAIL: lock freed, but install-deps gave up"; failed=1; fi

[ $failed -eq 0 ] && echo "install-deps waits for a busy lock, goes on once it is free, and gives up with a message"
exit $failed
