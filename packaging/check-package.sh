#!/usr/bin/env bash
# Builds the Debian package from a build tree that has been built, and checks it with lintian:
# an error or a warning fails the check.   packaging/check-package.sh build/release
set -euo pipefail
build=$(cd "$1" && pwd)
out=$(mktemp -d /tmp/coop-package-XXXXXX)
trap 'rm -rf "$out"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" > "$out/cpack.log" 2>&1; then
  cat "$out/cpack.log"
  exit 1
fi
deb=$(find "$out" -maxdepth 1 -name '*.deb')
echo "lintian $(basename "$deb")"
lintian --fail-on error,warning --info --display-info "$deb"
echo "lintian: no error, no warning"
