#!/usr/bin/env bash
# Installs every Debian 12 package that building, running, demonstrating and testing Velmora needs.
# Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqscintilla2-qt6-dev libgl1-mesa-dev
  libzip-dev libgtest-dev googletest
  python3 python3-pyftpdlib
  xvfb xauth imagemagick fonts-dejavu-core
  lftp curl bc clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
