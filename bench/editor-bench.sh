#!/bin/bash
# Built-in editor: opens HTML files of 1, 10 and 50 MB offscreen (colouring and word wrap on) and
# prints, per file, how long opening takes until the window answers, until the whole text is in,
# the longest time the window did not answer meanwhile, and the processor time used in the two
# seconds after the window was closed.
# The file stays open three seconds more (stalls and processor time while open), one character
# is typed and saved (how long Save freezes the window), and the resident memory is printed
# before opening and after closing. "1L" is one megabyte in a single line.
# Usage: bench/editor-bench.sh [build folder] [megabytes...]
set -euo pipefail
SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
shift || true
[ $# -gt 0 ] || set -- 1 10 50 1L
cmake --build "$BUILD_DIR" --target editor_open_bench >/dev/null
"$BUILD_DIR/bench/editor/editor_open_bench" "$@" 2>/dev/null
