#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite. The database tests
# start their own MariaDB server for the run; widget tests use the offscreen platform.
# As CI runs it: built with the project's warnings as errors (the ci preset, build/ci), then the
# data-layer and screen tests built again with AddressSanitizer and UndefinedBehaviorSanitizer
# (build/asan) and run.
#   COOP_PRESET=release  the ordinary build (build/release) instead of build/ci
#   COOP_SANITIZE=0      without the sanitizer run
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
