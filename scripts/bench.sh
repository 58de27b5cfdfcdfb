#!/usr/bin/env bash
# Builds the benchmarks in Release (build/bench) and runs them. Arguments go to
# every benchmark program, for example --benchmark_repetitions=5.
#
#   scripts/bench.sh [benchmark options]
#
# The figures of docs/performance.md come from this command.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${VOK_BENCH_BUILD:-$root/build/bench}
programs=(vok_KeyValueFileBench vok_LeagueBench)

cmake -G Ninja -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DVOK_BUILD_TESTS=OFF \
    -DVOK_BUILD_BENCH=ON > /dev/null
cmake --build "$build" -j2 --target "${programs[@]}"
for program in "${programs[@]}"; do
    "$build/bench/$program" "$@"
done
