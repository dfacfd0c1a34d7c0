#!/usr/bin/env bash
# Configures and builds into build/ (Release with debug information).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${QUENVAR_BUILD_DIR:-build}
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LAUNCHER[@]}" >/dev/null
cmake --build "$BUILD_DIR" "$@"
