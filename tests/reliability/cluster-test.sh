#!/usr/bin/env bash
# Runs the cluster test against a three-node Galera cluster of its own on 127.0.0.1, and stops and
# removes the cluster whatever happens to the test (failure, crash, time-out, interruption).
#   cluster-test.sh TEST-PROGRAM [its arguments]
# Exits 77 (skipped) only when Galera or rsync is not installed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cluster=$here/../../scripts/galera-cluster.sh

if [ ! -e /usr/lib/galera/libgalera_smm.so ] || ! command -v rsync > /dev/null; then
  echo "SKIP: Galera is not installed (Debian packages galera-4 and rsync; scripts/install-dependencies.sh installs them)"
  exit 77
fi

dir=$(mktemp -d /tmp/coop-galera-XXXXXX)
test=""
# The test, its clerks and any node it is restarting go first, then the cluster.
cleanup() {
  if [ -n "$test" ]; then
    kill -KILL -- "-$test" 2> /dev/null || true
    wait "$test" 2> /dev/null || true
  fi
  "$cluster" stop "$dir" > /dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

started=$SECONDS
"$cluster" start "$dir" 3
echo "cluster started in $((SECONDS - started)) s"
# A process group of its own, in the background: a signal to this script is handled at once, and
# the whole group ends with it. Well inside CTest's own limit, so that the trap still runs when the
# test hangs.
COOP_CLUSTER_DIR=$dir COOP_CLUSTER_SCRIPT=$cluster setsid timeout -k 10 200 "$@" &
test=$!
wait "$test"
echo "cluster test done in $((SECONDS - started)) s, cluster start included"
