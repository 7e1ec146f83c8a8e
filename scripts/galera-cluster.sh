#!/usr/bin/env bash
# A MariaDB Galera cluster of the cooperative's database on this machine, every node on 127.0.0.1
# with ports of its own: for trying the cluster out and for the tests.
#   galera-cluster.sh start DIR [N]    N nodes (3 by default): a new cluster, or the one in DIR again
#   galera-cluster.sh start-node DIR I node I joins the running cluster (after a crash or a stop)
#   galera-cluster.sh stop-node DIR I  node I leaves the cluster cleanly
#   galera-cluster.sh stop DIR         every node leaves cleanly, node 1 last: the cluster starts again from it
# DIR/nodeI holds node I's data, my.cnf, socket (mariadbd.sock), pid file and log (mariadbd.err).
# A new cluster gets the database (COOP_DATABASE, 190400 by default) with db/schema.sql and the clerks'
# account root@127.0.0.1 with SELECT, INSERT, UPDATE and DELETE on it; its password, the ports and a
# data-source file listing every node are written to DIR/cluster.env and DIR/datasources.ini.
# Ports: COOP_CLUSTER_PORT (a free range is chosen otherwise); node I uses PORT+10(I-1) for clients
# and the three after it for Galera, incremental and full state transfer.
# Run as root, the nodes run as the system user mysql (a state transfer by rsync refuses root).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
provider=/usr/lib/galera/libgalera_smm.so

usage() { echo "usage: $0 start DIR [N] | start-node DIR I | stop-node DIR I | stop DIR" >&2; exit 2; }
[ $# -ge 2 ] || usage
action=$1 dir=$2

as_node_user() { if [ "$(id -u)" -eq 0 ]; then runuser -u mysql -- "$@"; else "$@"; fi; }
node_dir() { echo "$dir/node$1"; }
client() { mariadb --no-defaults --socket="$(node_dir "$1")/mariadbd.sock" -uroot --batch --skip-column-names "${@:2}"; }
status() { client "$1" -e "SHOW GLOBAL STATUS LIKE '$2'" 2>/dev/null | cut -f2; }
# The server this script started last for the node (its pid file may not be written yet).
pid_of() { cat "$(node_dir "$1")/launched.pid" 2>/dev/null || cat "$(node_dir "$1")/mariadbd.pid" 2>/dev/null || true; }
running() { # node; a killed server that is not yet collected is not running
  local pid state; pid=$(pid_of "$1")
  [ -n "$pid" ] && state=$(ps -o stat= -p "$pid" 2>/dev/null) && [ "${state:0:1}" != Z ]
}

port_free() { ! ss -Htln "sport = :$1" | grep -q .; }
choose_ports() {
  local base=${COOP_CLUSTER_PORT:-}
  if [ -n "$base" ]; then port=$base; return; fi
  # From a random start, so that clusters started at the same moment seldom try the same ports.
  for base in $(shuf -i 133-199 | sed 's/$/00/'); do
    local ok=1
    for i in $(seq 0 $((nodes - 1))); do
      for k in 0 1 2 3; do port_free $((base + 10 * i + k)) || ok=0; done
    done
    if [ $ok -eq 1 ]; then port=$base; return; fi
  done
  echo "no free range of ports on 127.0.0.1" >&2; exit 1
}

write_config() { # node
  local i=$1 d; d=$(node_dir "$1")
  local p=$((port + 10 * (i - 1))) addresses="" user=mysql
  [ "$(id -u)" -eq 0 ] || user=$(id -un)
  for k in $(seq 1 "$nodes"); do addresses+="${addresses:+,}127.0.0.1:$((port + 10 * (k - 1) + 1))"; done
  cat > "$d/my.cnf" <<CNF
[mariadbd]
datadir=$d/data
socket=$d/mariadbd.sock
pid-file=$d/mariadbd.pid
log-error=$d/mariadbd.err
tmpdir=$d/tmp
user=$user
bind-address=127.0.0.1
port=$p
skip-name-resolve
# What the cooperative's statements need of any server
lower_case_table_names=1
character-set-server=utf8mb4
collation-server=utf8mb4_unicode_ci
# What Galera needs
binlog_format=ROW
default_storage_engine=InnoDB
innodb_autoinc_lock_mode=2
# A commit is safe once the other nodes have it: the log is written at commit, flushed each second
innodb_flush_log_at_trx_commit=2
innodb_buffer_pool_size=64M
performance_schema=OFF
wsrep_on=ON
wsrep_provider=$provider
wsrep_cluster_name=coop
wsrep_cluster_address=gcomm://$addresses
wsrep_node_name=node$i
wsrep_node_address=127.0.0.1:$((p + 1))
wsrep_node_incoming_address=127.0.0.1:$p
wsrep_sst_method=rsync
wsrep_sst_receive_address=127.0.0.1:$((p + 3))
wsrep_provider_options="gmcast.listen_addr=tcp://127.0.0.1:$((p + 1));ist.recv_addr=127.0.0.1:$((p + 2));gcache.size=64M"
CNF
}

wait_synced() { # node
  local i=$1
  for _ in $(seq 1 600); do
    kill -0 "$launched" 2>/dev/null || break
    if [ "$(status "$i" wsrep_local_state_comment)" = Synced ] \
       && [ "$(status "$i" wsrep_cluster_size)" -ge "${2:-1}" ] 2>/dev/null; then return 0; fi
    sleep 0.2
  done
  echo "node $i did not become Synced; the end of its log:" >&2
  tail -n 40 "$(node_dir "$i")/mariadbd.err" >&2 || true
  exit 1
}

launch() { # node [extra options]
  local i=$1 d; d=$(node_dir "$1")
  rm -f "$d/mariadbd.pid" "$d/launched.pid"
  setsid mariadbd --defaults-file="$d/my.cnf" "${@:2}" < /dev/null > /dev/null 2>&1 &
  launched=$!
  echo "$launched" > "$d/launched.pid"
}

# After a crash the node finds where its data stands, so that it can catch up by an incremental
# transfer instead of copying everything again.
recovered_position() { # node
  local d; d=$(node_dir "$1")
  grep -q 'seqno: *-1' "$d/data/grastate.dat" 2>/dev/null || return 0
  mariadbd --defaults-file="$d/my.cnf" --wsrep-recover --log-error="$d/recover.log" > /dev/null 2>&1 || true
  sed -n 's/.*WSREP: Recovered position: *\([^ ]*\).*/\1/p' "$d/recover.log" | tail -n 1
}

start_node() { # node
  local i=$1 position
  running "$i" && { echo "node $i is running"; return; }
  position=$(recovered_position "$i")
  launch "$i" ${position:+--wsrep-start-position=$position}
  wait_synced "$i" 2
  echo "node $i joined the cluster"
}

stop_node() { # node
  local i=$1 pid; pid=$(pid_of "$i")
  [ -n "$pid" ] || return 0
  client "$i" -e "SHUTDOWN" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
  for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null || true
}

load_env() {
  [ -f "$dir/cluster.env" ] || { echo "$dir holds no cluster" >&2; exit 1; }
  # shellcheck source=/dev/null
  . "$dir/cluster.env"
  port=$COOP_CLUSTER_PORT nodes=$COOP_CLUSTER_NODES
}

create() {
  nodes=${1:-3}
  [ "$nodes" -ge 1 ] 2>/dev/null || usage
  [ -e "$provider" ] || { echo "Galera is not installed (Debian package galera-4)" >&2; exit 1; }
  choose_ports
  mkdir -p "$dir"
  chmod 700 "$dir"
  local database=${COOP_DATABASE:-190400} password
  password=$(head -c 12 /dev/urandom | base64 | tr -d '/+=')
  for i in $(seq 1 "$nodes"); do
    mkdir -p "$(node_dir "$i")/data" "$(node_dir "$i")/tmp"
    write_config "$i"
  done
  [ "$(id -u)" -ne 0 ] || chown -R mysql: "$dir"
  as_node_user test -w "$dir" || { echo "the nodes' user cannot write to $dir" >&2; exit 1; }
  mariadb-install-db --defaults-file="$(node_dir 1)/my.cnf" --auth-root-authentication-method=normal \
    --skip-test-db > "$dir/install.log" 2>&1 || { cat "$dir/install.log" >&2; exit 1; }

  launch 1 --wsrep-new-cluster
  wait_synced 1 1
  client 1 <<SQL
CREATE DATABASE \`$database\` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
USE \`$database\`;
SOURCE $here/../db/schema.sql;
DROP USER IF EXISTS 'root'@'127.0.0.1';
CREATE USER 'root'@'127.0.0.1' IDENTIFIED BY '$password';
GRANT SELECT, INSERT, UPDATE, DELETE ON \`$database\`.* TO 'root'@'127.0.0.1';
SQL
  for i in $(seq 2 "$nodes"); do
    launch "$i"
    wait_synced "$i" "$i"
  done

  local servers=""
  for i in $(seq 1 "$nodes"); do servers+="${servers:+,}127.0.0.1:$((port + 10 * (i - 1)))"; done
  cat > "$dir/cluster.env" <<ENV
COOP_CLUSTER_NODES=$nodes
COOP_CLUSTER_PORT=$port
COOP_DATABASE=$database
COOP_CLERK_PASSWORD=$password
ENV
  printf '[MyDB3]\nServer=%s\nDatabase=%s\nUser=root\nPassword=%s\n' "$servers" "$database" "$password" > "$dir/datasources.ini"
  chmod 600 "$dir/cluster.env" "$dir/datasources.ini"
  echo "cluster of $nodes nodes ready: Server=$servers"
}

# The node that left last holds every committed write: the cluster starts again from it.
restart() {
  load_env
  local first=""
  for i in $(seq 1 "$nodes"); do
    grep -q 'safe_to_bootstrap: *1' "$(node_dir "$i")/data/grastate.dat" 2>/dev/null && first=$i
  done
  [ -n "$first" ] || { echo "no node of $dir was stopped last cleanly; see the guide on restarting after a crash" >&2; exit 1; }
  local position; position=$(recovered_position "$first")
  launch "$first" --wsrep-new-cluster ${position:+--wsrep-start-position=$position}
  wait_synced "$first" 1
  for i in $(seq 1 "$nodes"); do
    [ "$i" = "$first" ] || start_node "$i"
  done
  echo "cluster of $nodes nodes ready again (started from node $first)"
}

case $action in
start)
  if [ -f "$dir/cluster.env" ]; then restart; else create "${3:-3}"; fi ;;
start-node)
  [ $# -eq 3 ] || usage
  load_env; start_node "$3" ;;
stop-node)
  [ $# -eq 3 ] || usage
  load_env; stop_node "$3"; echo "node $3 stopped" ;;
stop)
  [ -f "$dir/cluster.env" ] || [ -d "$(node_dir 1)" ] || { echo "nothing to stop in $dir"; exit 0; }
  nodes=$(find "$dir" -maxdepth 1 -name 'node*' -type d | wc -l)
  for i in $(seq "$nodes" -1 1); do stop_node "$i"; done
  echo "cluster stopped" ;;
*)
  usage ;;
esac
