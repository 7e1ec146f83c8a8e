#!/usr/bin/env bash
# Installs what is missing, builds the program alone (no tests or benchmarks) and starts it on its
# internal database server (the first start creates the server and loads the demo cooperative).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-dependencies.sh"
cmake --preset release -S "$top" > /dev/null
cmake --build "$top/build/release" --target myrolan
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting the program under Xvfb (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$top/build/release/src/app/myrolan" "$@"
fi
exec "$top/build/release/src/app/myrolan" "$@"
