#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them. An optional argument filters the
# benchmarks by name (a regular expression, as Google Benchmark takes it).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESPERA_WERROR=ON -DVESPERA_BUILD_TESTS=OFF \
    -DVESPERA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$build"

filter=${1:-.}
for program in "$build"/bench/bench_*; do
    [[ -x "$program" ]] || continue
    "$program" --benchmark_filter="$filter" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true
done
