#!/bin/bash
# Builds and runs the libFuzzer target of the FTP engine's parsers (clang-14, AddressSanitizer
# and UndefinedBehaviorSanitizer). Not part of the CMake build or of ctest.
# Usage: scripts/fuzz-engine.sh [seconds, default 180] [extra libFuzzer options...]
# Needs clang-14 and libclang-rt-14-dev (apt-get install clang-14 libclang-rt-14-dev).
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-180}"
shift || true
OUT="${FUZZ_BUILD_DIR:-$SOURCE_DIR/build-fuzz}"
mkdir -p "$OUT/corpus" "$OUT/artifacts"

SOURCES=(
  src/engine/AsciiConverter.cpp src/engine/FtpReply.cpp src/engine/FtpReplyParsers.cpp
  src/engine/ListingBuilder.cpp src/engine/ListingDate.cpp src/engine/ListingLine.cpp
  src/engine/ListingRecord.cpp src/engine/ServerNameCodec.cpp src/engine/StatusText.cpp
  src/common/TextCodec.cpp src/common/TextReplace.cpp
  fuzz/engine/FuzzParsers.cpp
)
cd "$SOURCE_DIR"
clang++-14 -std=c++20 -g -O1 -fPIC \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -DQT_NO_CAST_FROM_ASCII -DQT_USE_QSTRINGBUILDER -I src $(pkg-config --cflags Qt6Core) \
  "${SOURCES[@]}" $(pkg-config --libs Qt6Core) -o "$OUT/fuzz_engine_parsers"

# New inputs go to the build folder; the seeds in fuzz/engine/corpus stay as they are.
"$OUT/fuzz_engine_parsers" "$OUT/corpus" fuzz/engine/corpus \
  -max_total_time="$SECONDS_TO_RUN" -max_len=4096 -artifact_prefix="$OUT/artifacts/" -print_final_stats=1 "$@"
