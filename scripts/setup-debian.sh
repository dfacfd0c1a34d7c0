#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql \
  qt6-charts-dev libqt6opengl6-dev qt6-serialport-dev libgl-dev qt6-translations-l10n \
  libzint-dev libxlsxwriter-dev libquazip1-qt6-dev libsodium-dev \
  fonts-wqy-microhei \
  libgtest-dev libgmock-dev libbenchmark-dev \
  postgresql postgresql-client sqlite3 zbar-tools poppler-utils xvfb xauth ccache
