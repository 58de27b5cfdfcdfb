#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz, or the folder
# VOK_FUZZ_BUILD names) and runs them side by side for a bounded time. Exits
# non-zero on any finding; the input that caused it is kept under
# <build>/findings/<target>/.
#
#   scripts/fuzz.sh [seconds-per-target]      default 20
#
# A longer campaign, one target at a time (see docs/reliability.md):
#   scripts/fuzz.sh 3600
set -euo pipefail

seconds=${1:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VOK_FUZZ_BUILD:-$root/build/fuzz}
targets=(fuzz_kvfile fuzz_language)

if ! command -v clang++ > /dev/null; then
    echo "fuzz.sh: clang++ not found; libFuzzer needs clang" >&2
    exit 2
fi
# A build folder that already has the targets (the native-asan preset's, which
# scripts/test.sh passes) is used as it is configured.
if ! grep -qs '^VOK_FUZZ:BOOL=ON' "$build/CMakeCache.txt"; then
    CC=clang CXX=clang++ cmake -G Ninja -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVOK_FUZZ=ON -DVOK_BUILD_TESTS=OFF -DVOK_BUILD_BENCH=OFF > /dev/null
fi
cmake --build "$build" --parallel "${VOK_JOBS:-$(nproc)}" --target "${targets[@]}"

# The files under test are rewritten thousands of times a second: keep them in
# memory where the system offers it.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

# One target a core, at the same time.
run() {
    local target=$1 work=$build/work/$1 findings=$build/findings/$1/ log=$build/$1.log
    mkdir -p "$work" "$findings"
    if "$build/tests/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -rss_limit_mb=2048 -artifact_prefix="$findings" \
        "$work" "$root/tests/fuzz/corpus/$target" > "$log" 2>&1; then
        runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$log")
        echo "fuzz.sh: $target: $runs runs in ${seconds} s, no finding"
    else
        echo "fuzz.sh: $target: FINDING, input kept in $findings, log $log" >&2
        tail -n 40 "$log" >&2
        return 1
    fi
}
pids=()
for target in "${targets[@]}"; do
    run "$target" &
    pids+=($!)
done
status=0
for pid in "${pids[@]}"; do
    wait "$pid" || status=1
done
exit $status
