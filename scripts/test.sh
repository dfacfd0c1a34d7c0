#!/usr/bin/env bash
# Builds and runs every test: on SQLite, and on a PostgreSQL server this script
# starts for the run and stops afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
scripts/build.sh
PGDIR=$(mktemp -d /tmp/quenvar-pg.XXXXXX)
# The first free port from 55432 up, so parallel runs do not meet.
PGPORT=${QUENVAR_TEST_PG_PORT:-55432}
while (echo >/dev/tcp/127.0.0.1/"$PGPORT") 2>/dev/null; do PGPORT=$((PGPORT + 1)); done
trap '"$ROOT"/scripts/pg-test-server.sh stop "$PGDIR"; rm -rf "$PGDIR"' EXIT
QUENVAR_TEST_PG=$(scripts/pg-test-server.sh start "$PGDIR" "$PGPORT")
export QUENVAR_TEST_PG
export QUENVAR_TEST_PG_USER=postgres
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d /tmp/quenvar-xdg.XXXXXX)}
cd "${QUENVAR_BUILD_DIR:-build}"
ctest --output-on-failure -j 2 "$@"
