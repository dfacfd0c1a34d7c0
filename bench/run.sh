#!/usr/bin/env bash
# Builds the program and the benchmarks, generates the large demo shop (20,000
# articles, 1,000,000 sale lines) on both engines, then prints the machine and one
# table of figures with both engines side by side.
#
#   bench/run.sh [SHOP_FOLDER] [RUNS]
#
# SQLite: the single-user shop in SHOP_FOLDER (default /tmp/quenvar-bench-shop),
# cached there and regenerated on another day so "today's takings" have sales.
# PostgreSQL: a throwaway server started for the run (scripts/pg-test-server.sh)
# and stopped at the end, the shop generated into it; SHOP_FOLDER-pg is the
# network-mode shop folder whose kf.ini names that server. To reuse a network-mode
# shop whose server is already running, set QUENVAR_BENCH_PG_SHOP=FOLDER; to leave
# PostgreSQL out, QUENVAR_BENCH_PG=no.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
SHOP=${1:-/tmp/quenvar-bench-shop}
RUNS=${2:-7}
BUILD=${QUENVAR_BUILD_DIR:-build}
QUENVAR_BUILD_DIR=$BUILD scripts/build.sh -j2 --target quenvar quenvar-demo bench_quenvar buding >&2
DEMO=(--articles 20000 --sale-lines 1000000 --seed 1)

generate() {   # folder, extra options...
  local folder=$1; shift
  local start end
  start=$(date +%s.%N)
  "$BUILD"/bin/quenvar-demo --shop "$folder" "${DEMO[@]}" "$@" >&2
  end=$(date +%s.%N)
  echo "demo shop $folder generated in $(echo "$end - $start" | bc) s" >&2
}

STAMP="$SHOP/.bench-shop"
if [ ! -f "$STAMP" ] || [ "$(cat "$STAMP")" != "$(date +%F)" ]; then
  rm -rf "$SHOP"
  generate "$SHOP"
  date +%F > "$STAMP"
fi

PGSHOP=${QUENVAR_BENCH_PG_SHOP:-}
if [ -z "$PGSHOP" ] && [ "${QUENVAR_BENCH_PG:-yes}" != no ]; then
  PGDIR=$(mktemp -d /tmp/quenvar-bench-pg.XXXXXX)
  PGPORT=56432
  while (echo >/dev/tcp/127.0.0.1/"$PGPORT") 2>/dev/null; do PGPORT=$((PGPORT + 1)); done
  trap '"$ROOT"/scripts/pg-test-server.sh stop "$PGDIR"; rm -rf "$PGDIR"' EXIT
  PGSERVER=$(scripts/pg-test-server.sh start "$PGDIR" "$PGPORT")
  PGSHOP="$SHOP-pg"
  rm -rf "$PGSHOP"
  generate "$PGSHOP" --server "$PGSERVER" --user postgres --database quenvar_bench
fi

FIGURES=$(mktemp -d /tmp/quenvar-bench-figures.XXXXXX)
PGBIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)

echo "## Machine"
echo
echo "- CPU: $(lscpu | sed -n 's/^Model name: *//p') ($(nproc) cores available)"
echo "- Memory: $(free -h | awk '/^Mem:/ {print $2}')"
echo "- System: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
echo "- Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6), SQLite $(sqlite3 --version | cut -d' ' -f1)${PGBIN:+, $("$PGBIN"/postgres --version)}"
echo "- Load average at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "- Shops: $SHOP ($(du -sh "$SHOP/data.mdb" | cut -f1) data.mdb)${PGSHOP:+ and $PGSHOP (network mode)}, $RUNS runs per figure, median"
echo
echo "## Figures"
echo
QT_QPA_PLATFORM=offscreen "$BUILD"/bin/bench_quenvar --shop "$SHOP" --runs "$RUNS" --save "$FIGURES/sqlite.tsv" >/dev/null
if [ -n "$PGSHOP" ]; then
  QT_QPA_PLATFORM=offscreen "$BUILD"/bin/bench_quenvar --shop "$PGSHOP" --runs "$RUNS" --save "$FIGURES/pg.tsv" >/dev/null
fi
"$BUILD"/bin/bench_quenvar --side-by-side "$FIGURES/sqlite.tsv,$FIGURES/pg.tsv"
rm -rf "$FIGURES"
