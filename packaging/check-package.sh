#!/usr/bin/env bash
# Builds the Debian package from a build tree that has been built, and checks it: lintian finds no
# error and no warning, and the AppStream file is in the package and valid, the menu entry it
# launches beside it. The file's path in the package is given second (the CTest test does), or is the
# one the build tree configured.
#   packaging/check-package.sh build/release [/usr/share/metainfo/ua.myrolan.myrolan.metainfo.xml]
set -euo pipefail
build=$(cd "$1" && pwd)
if [ $# -ge 2 ]; then
  metainfo=${2#/}
else
  configured=("$build"/packaging/*.metainfo.xml)
  metainfo=usr/share/metainfo/$(basename "${configured[0]}")
fi
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

# The AppStream data as a software centre reads it from the installed files: the file itself, then
# the tree, which also finds the launchable .desktop entry. --strict fails on any issue but the
# pedantic ones; --no-net because the screenshots' addresses are not fetched here.
command -v appstreamcli > /dev/null || { echo "appstreamcli not found (Debian package appstream)"; exit 1; }
dpkg-deb -x "$deb" "$out/root"
if [ ! -f "$out/root/$metainfo" ]; then
  echo "/$metainfo is not in the package"
  exit 1
fi
appstreamcli validate --no-net --strict --explain "$out/root/$metainfo"
appstreamcli validate-tree --no-net --strict --explain "$out/root"
echo "appstreamcli: /$metainfo valid"
