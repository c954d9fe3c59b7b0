#!/bin/bash
# Transfer filter benchmark: evaluate filters with all five criteria over a queue list of
# 100,000 records, in one go and in the chunks the filter window uses (goal < 0.3 s).
# Usage: bench/filter-bench.sh [build folder] [records] [rounds]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
RECORDS="${2:-100000}"
ROUNDS="${3:-7}"

cmake --build "$BUILD_DIR" --target filter_bench filter_window_bench >/dev/null
echo "== Transfer filter: $RECORDS records"
"$BUILD_DIR/bench/filter/filter_bench" "$RECORDS" "$ROUNDS"
"$BUILD_DIR/bench/filter/filter_window_bench" "$RECORDS" 5
