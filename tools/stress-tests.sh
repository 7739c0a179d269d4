#!/usr/bin/env bash
# Runs the whole test suite again and again, in the plain and in the sanitizer build, while
# other processes keep every core busy the whole time: a test that races the clock fails here
# long before it fails in CI. Stops at the first failure and prints its output.
#
# Usage: tools/stress-tests.sh [rounds]    rounds: first argument, else STRESS_ROUNDS, else 20
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-${STRESS_ROUNDS:-20}}
if ! [[ $rounds =~ ^[1-9][0-9]*$ ]]; then
    echo "stress-tests: the number of rounds must be a positive whole number, not '$rounds'" >&2
    exit 2
fi
cores=$(nproc)
plain_build=build
sanitizer_build=build-asan

echo "== building ($plain_build, $sanitizer_build)"
make build BUILD="$plain_build"
make build BUILD="$sanitizer_build" CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DMENTARO_SANITIZE=ON"

# The load: stress-ng when the machine has it, else one busy shell loop per core. Only the
# processes started here are ended, by their ids, whatever way the script ends.
load_pids=()
stop_load() {
    for pid in "${load_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${load_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    load_pids=()
}
trap stop_load EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

if command -v stress-ng >/dev/null 2>&1; then
    stress-ng --cpu "$cores" --quiet &
    load_pids+=("$!")
    load="stress-ng --cpu $cores"
else
    for ((i = 0; i < cores; ++i)); do
        bash -c 'while :; do :; done' &
        load_pids+=("$!")
    done
    load="$cores busy loops"
fi
echo "== load: $load (process ids ${load_pids[*]})"

log=$(mktemp)
trap 'stop_load; rm -f "$log"' EXIT

started=$(date +%s)
passes=0
summary() {
    local seconds=$(($(date +%s) - started))
    printf '== rounds: %d of %d, passes: %d of %d, wall time: %dm %02ds (load: %s)\n' \
        "$1" "$rounds" "$passes" "$((2 * rounds))" "$((seconds / 60))" "$((seconds % 60))" "$load"
}

for ((round = 1; round <= rounds; ++round)); do
    for build in "$plain_build" "$sanitizer_build"; do
        pass_start=$(date +%s)
        if ! (cd "$build" && ctest --output-on-failure --stop-on-failure -j "$cores") \
            >"$log" 2>&1; then
            cat "$log"
            echo "== FAILED in round $round, $build"
            summary "$((round - 1))"
            exit 1
        fi
        passes=$((passes + 1))
        echo "round $round, $build: passed in $(($(date +%s) - pass_start)) s"
    done
done
summary "$rounds"
