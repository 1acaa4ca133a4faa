#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (the "sanitize" preset, build/sanitize), and runs the tests through
# CTest: every test without arguments, else the ones the arguments select, as ctest takes them
# (./test.sh -R Pcx runs the tests whose names contain Pcx).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
ctest --preset sanitize -j "$(nproc)" "$@"
