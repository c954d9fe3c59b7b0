#!/bin/bash
# Builds and runs the libFuzzer target of the FTP protocol library's parsers (clang-14,
# AddressSanitizer and UndefinedBehaviorSanitizer), from CMake with VELMORA_FUZZ on.
# Not part of the normal build or of ctest.
# Usage: scripts/fuzz-engine.sh [seconds, default 180] [extra libFuzzer options...]
# Needs clang-14 and libclang-rt-14-dev (installed by scripts/install-deps.sh).
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-180}"
shift || true
OUT="${FUZZ_BUILD_DIR:-$SOURCE_DIR/build-fuzz}"
mkdir -p "$OUT/corpus" "$OUT/artifacts"

cmake -S "$SOURCE_DIR" -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DVELMORA_FUZZ=ON >/dev/null
cmake --build "$OUT" --target fuzz_engine_parsers

# New inputs go to the build folder; the seeds in fuzz/engine/corpus stay as they are.
cd "$SOURCE_DIR"
"$OUT/fuzz/fuzz_engine_parsers" "$OUT/corpus" fuzz/engine/corpus \
  -max_total_time="$SECONDS_TO_RUN" -max_len=4096 -artifact_prefix="$OUT/artifacts/" -print_final_stats=1 "$@"
