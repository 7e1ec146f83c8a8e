#!/usr/bin/env bash
# Starts or stops the one MariaDB server that the database tests of a run share.
#   test-server.sh start DIR   a fresh data directory in DIR, socket DIR/mariadbd.sock
#   test-server.sh stop DIR
# Durability is traded for speed: the tests create and drop a database per case.
set -euo pipefail
action=$1 dir=$2
sock=$dir/mariadbd.sock
user=$(id -un)

stop() {
  if [ -S "$sock" ]; then
    mariadb-admin --no-defaults --socket="$sock" -uroot shutdown 2>/dev/null || true
  fi
  if [ -f "$dir/mariadbd.pid" ]; then
    pid=$(cat "$dir/mariadbd.pid" 2>/dev/null || true)
    for _ in $(seq 1 100); do
      [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null || true
  fi
}

case $action in
start)
  stop
  rm -rf "$dir"
  mkdir -p "$dir/tmp"
  chmod 700 "$dir"
  cat > "$dir/my.cnf" <<CNF
[mariadbd]
datadir=$dir/data
socket=$sock
pid-file=$dir/mariadbd.pid
log-error=$dir/mariadbd.err
tmpdir=$dir/tmp
user=$user
skip-networking
lower-case-table-names=1
character-set-server=utf8mb4
collation-server=utf8mb4_unicode_ci
sql-mode=STRICT_ALL_TABLES,NO_BACKSLASH_ESCAPES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION
innodb-buffer-pool-size=256M
innodb-flush-log-at-trx-commit=0
innodb-doublewrite=0
sync-frm=0
performance-schema=OFF
skip-name-resolve
max-connections=500
CNF
  mariadb-install-db --defaults-file="$dir/my.cnf" --auth-root-authentication-method=normal \
    --skip-test-db --user="$user" > "$dir/install.log" 2>&1 || { cat "$dir/install.log"; exit 1; }
  setsid mariadbd --defaults-file="$dir/my.cnf" < /dev/null > /dev/null 2>&1 &
  for _ in $(seq 1 300); do
    if mariadb-admin --no-defaults --socket="$sock" -uroot ping > /dev/null 2>&1; then
      echo "test server ready on $sock"
      exit 0
    fi
    sleep 0.2
  done
  echo "test server did not start:"; tail -n 30 "$dir/mariadbd.err" || true
  exit 1
  ;;
stop)
  stop
  rm -rf "$dir"
  echo "test server stopped"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
