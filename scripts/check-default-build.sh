#!/usr/bin/env bash
# Builds what a user or a packager builds, the default Release configuration with the tests and
# without warnings as errors (the "default-release" preset, build/default-release), and runs its
# tests, so that build cannot break unnoticed. CI runs it after ./test.sh; the build folder is
# kept, so a second run rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default-release >/dev/null
cmake --build --preset default-release
ctest --preset default-release -j "$(nproc)"
