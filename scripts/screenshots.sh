#!/bin/sh
# Takes the user guide's screenshots (docs/images/) of every window under a virtual display.
# Build first: cmake --preset release && cmake --build build/release --target screenshots
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
tool="${1:-$here/build/release/tools/screenshots}"
exec xvfb-run -a -s "-screen 0 1920x1200x24" "$tool" "$here/docs/images"
