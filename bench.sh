#!/usr/bin/env bash
# Builds the benchmarks in release mode (the "release" preset, build/release) and runs them. An
# optional argument filters the benchmarks by name (a regular expression, as Google Benchmark
# takes it).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

cmake --preset release >/dev/null
cmake --build --preset release

filter=${1:-.}
for program in build/release/bench/bench_*; do
    [[ -x "$program" ]] || continue
    "$program" --benchmark_filter="$filter" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true
done
