#!/bin/bash
# Browser benchmark: list a local folder of 100,000 files into the local grid (goal < 1 s),
# re-sort it by size (goal < 0.3 s) and report the memory of the filled grid.
# Usage: bench/browser-bench.sh [build folder] [number of files]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
FILES="${2:-100000}"

cmake --build "$BUILD_DIR" --target browser_fill_bench >/dev/null
echo "== Local grid: $FILES files"
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bench/browser/browser_fill_bench" "$FILES" 2>&1 | grep -v "^This plugin does not support"
