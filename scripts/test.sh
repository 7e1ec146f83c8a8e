#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite. The database tests
# start their own MariaDB server for the run; widget tests use the offscreen platform.
# As CI runs it: built with the project's warnings as errors (the ci preset, build/ci), then the
# data-layer and screen tests built again with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/asan) and run, and last the fuzz targets of the parsers of outside text built with clang
# (the fuzz preset, build/fuzz) and each run for 20 s by scripts/fuzz.sh, which fails on any crash,
# leak, hang or undefined behaviour.
#   COOP_PRESET=release  the ordinary build (build/release) instead of build/ci
#   COOP_SANITIZE=0      without the sanitizer run
#   COOP_FUZZ=0          without the fuzz run
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
preset=${COOP_PRESET:-ci}
"$top/scripts/install-dependencies.sh"
cd "$top"
cmake --preset "$preset" > /dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
if [[ ${COOP_SANITIZE:-1} == 1 ]]; then
    cmake --preset asan > /dev/null
    cmake --build --preset asan
    ctest --preset asan
fi
if [[ ${COOP_FUZZ:-1} == 1 ]]; then
    cmake --preset fuzz > /dev/null
    cmake --build --preset fuzz
    "$top/scripts/fuzz.sh" 20
fi
