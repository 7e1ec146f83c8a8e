#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite. The database tests
# start their own MariaDB server for the run; widget tests use the offscreen platform.
#   COOP_PRESET=ci     builds with the project's warnings as errors (build/ci) instead of build/release
#   COOP_SANITIZE=1    afterwards builds the data-layer and screen tests with AddressSanitizer and
#                      UndefinedBehaviorSanitizer (build/asan) and runs them
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
preset=${COOP_PRESET:-release}
"$top/scripts/install-dependencies.sh"
cd "$top"
cmake --preset "$preset" > /dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
if [[ ${COOP_SANITIZE:-0} == 1 ]]; then
    cmake --preset asan > /dev/null
    cmake --build --preset asan
    ctest --preset asan
fi
