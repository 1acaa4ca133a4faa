#!/usr/bin/env bash
# Builds what a user or a packager builds, the default Release configuration with the tests and
# without warnings as errors, and runs its tests, so that build cannot break unnoticed. CI runs
# it after ./test.sh; the build folder is kept, so a second run rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/default-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
