#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite. The database tests
# start their own MariaDB server for the run; widget tests use the offscreen platform.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-dependencies.sh"
cmake --preset release -S "$top" > /dev/null
cmake --build "$top/build/release"
cd "$top"
ctest --preset release "$@"
