#!/usr/bin/env bash
# Builds the program and the benchmarks, generates the large demo shop once
# (20,000 articles, 1,000,000 sale lines; cached in the folder given, by default
# /tmp/quenvar-bench-shop, and regenerated on another day so "today's takings"
# have sales), then prints the machine and the table of figures.
#
#   bench/run.sh [SHOP_FOLDER] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
SHOP=${1:-/tmp/quenvar-bench-shop}
RUNS=${2:-7}
BUILD=${QUENVAR_BUILD_DIR:-build}
QUENVAR_BUILD_DIR=$BUILD scripts/build.sh -j2 --target quenvar quenvar-demo bench_quenvar buding >&2

STAMP="$SHOP/.bench-shop"
if [ ! -f "$STAMP" ] || [ "$(cat "$STAMP")" != "$(date +%F)" ]; then
  rm -rf "$SHOP"
  start=$(date +%s.%N)
  "$BUILD"/bin/quenvar-demo --shop "$SHOP" --articles 20000 --sale-lines 1000000 --seed 1
  end=$(date +%s.%N)
  echo "demo shop generated in $(echo "$end - $start" | bc) s" >&2
  date +%F > "$STAMP"
fi

echo "## Machine"
echo
echo "- CPU: $(lscpu | sed -n 's/^Model name: *//p') ($(nproc) cores available)"
echo "- Memory: $(free -h | awk '/^Mem:/ {print $2}')"
echo "- System: $(. /etc/os-release && echo "$PRETTY_NAME"), kernel $(uname -r)"
echo "- Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6), SQLite $(sqlite3 --version | cut -d' ' -f1)"
echo "- Shop: $SHOP ($(du -sh "$SHOP/data.mdb" | cut -f1) data.mdb), $RUNS runs per figure, median"
echo
echo "## Figures"
echo
QT_QPA_PLATFORM=offscreen "$BUILD"/bin/bench_quenvar --shop "$SHOP" --runs "$RUNS"
