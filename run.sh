#!/usr/bin/env bash
# Builds in release mode and runs pgconv with the given arguments: ./run.sh info picture.bmp.
# The build's own output goes to standard error only when the build fails, so pgconv's output
# stays clean. VESPERA_BUILD_DIR chooses another build folder (default build/release).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

build=${VESPERA_BUILD_DIR:-build/release}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESPERA_BUILD_TESTS=OFF &&
       cmake --build "$build" --target pgconv; } >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
rm -f "$log"
trap - EXIT
exec "$build/tools/pgconv/pgconv" "$@"
