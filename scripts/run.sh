#!/usr/bin/env bash
# Builds and starts the program. The shop folder is the first argument, or
# $QUENVAR_SHOP, or ~/.local/share/quenvar/shop; an empty folder becomes a new shop.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if [ $# -ge 1 ]; then
  exec build/bin/quenvar --shop "$1"
fi
exec build/bin/quenvar
