#!/usr/bin/env bash
# Builds in release mode (the "release" preset) and runs the program: ./run.sh /AUTO writes new
# logos.
# ./run.sh pgconv ARGS runs pgconv, the image library's command-line front end, instead.
# The build's own output goes to standard error only when the build fails, so the program's
# output stays clean. VESPERA_BUILD_DIR chooses another build folder (default build/release).
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

target=vespera
program=app/ui/vespera
if [[ "${1:-}" == pgconv ]]; then
    shift
    target=pgconv
    program=tools/pgconv/pgconv
fi

build=${VESPERA_BUILD_DIR:-build/release}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake --preset release -B "$build" && cmake --build "$build" --target "$target"; } \
    >"$log" 2>&1; then
    cat "$log" >&2
    exit 1
fi
rm -f "$log"
trap - EXIT
exec "$build/$program" "$@"
