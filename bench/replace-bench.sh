#!/bin/bash
# Search-and-replace benchmark: a search-only run of the engine for one term over 20,000
# files of 10 kB (goal: at most twice the time of grep -rlF for the same term over the same
# files, in the same run). The first run of each reads the files from disk into the cache;
# the figures after it compare the search work itself.
# Usage: bench/replace-bench.sh [build folder] [number of files]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
FILES="${2:-20000}"
TERM_TEXT="needle-4711"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

cmake --build "$BUILD_DIR" --target replace_search_bench >/dev/null
BENCH="$BUILD_DIR/bench/replace/replace_search_bench"
"$BENCH" generate "$WORK/files" "$FILES" 10240 "$TERM_TEXT" 50

echo "== Search only: $FILES files of 10 kB, term \"$TERM_TEXT\""
"$BENCH" search "$WORK/files" "$TERM_TEXT" 3
for run in 1 2 3; do
  start=$(date +%s%N)
  hits=$(grep -rlF "$TERM_TEXT" "$WORK/files" | wc -l)
  end=$(date +%s%N)
  echo "grep -rlF: $hits hits, $(( (end - start) / 1000000 )) ms"
done
