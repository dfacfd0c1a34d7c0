#!/usr/bin/env bash
# Starts a throwaway PostgreSQL cluster for the tests: trust authentication on
# 127.0.0.1, in a fresh folder. Prints the "host:port" to reach it.
#   scripts/pg-test-server.sh start <folder> <port>
#   scripts/pg-test-server.sh stop <folder>
set -euo pipefail
cmd=$1; dir=$2
PGBIN=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
run_pg() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
case "$cmd" in
  start)
    port=$3
    rm -rf "$dir"; mkdir -p "$dir"
    if [ "$(id -u)" = 0 ]; then chown postgres:postgres "$dir"; fi
    run_pg "$PGBIN/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log"; exit 1; }
    run_pg "$PGBIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
      -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null \
      || { cat "$dir/server.log"; exit 1; }
    echo "127.0.0.1:$port"
    ;;
  stop)
    run_pg "$PGBIN/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
    ;;
esac
