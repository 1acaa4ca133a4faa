#!/usr/bin/env bash
# Runs a libFuzzer campaign: ./fuzz.sh TARGET SECONDS (TARGET as in fuzz/CMakeLists.txt, e.g.
# bmp), built with clang by the "fuzz" preset. New inputs go to build/fuzz/corpus/TARGET,
# crashes to fuzz/findings/TARGET/; turn each crasher into a fixture by moving it to
# fuzz/crashers/TARGET/.
set -euo pipefail
cd "$(dirname "$0")"

if [[ $# -lt 2 ]]; then
    echo "usage: ./fuzz.sh TARGET SECONDS [libFuzzer options...]" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2

scripts/install-deps.sh

build=build/fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$target"

corpus="$build/corpus/$target"
findings="fuzz/findings/$target"
mkdir -p "$corpus" "$findings"
export ASAN_OPTIONS="detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
"$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" "$@" "$corpus" "fuzz/corpus/$target"
