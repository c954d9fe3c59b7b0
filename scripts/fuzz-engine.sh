#!/bin/bash
# Builds the libFuzzer targets (clang-14, AddressSanitizer and UndefinedBehaviorSanitizer, from
# CMake with VELMORA_FUZZ on) and runs one of them, or all of them one after the other, niced.
# Not part of the normal build: there `make test` replays every seed corpus once (the tests
# fuzz_corpus_<target>).
#
# Usage: scripts/fuzz-engine.sh [seconds per target, default 120] [target|all, default all]
#                               [extra libFuzzer options...]
# Targets (the folders fuzz/<target>/corpus): engine, queue-file, site-store, options-file,
# sort-file, import-wsftp12, import-cuteftp8, import-filezilla3, import-filezilla2,
# import-flashfxp3, import-smartftp4.
# The seeds in fuzz/<target>/corpus stay as they are; new inputs go to build-fuzz/corpus/<target>,
# inputs that break a property to build-fuzz/artifacts/<target>/, each run's output to
# build-fuzz/logs/<target>.log. An input worth keeping is copied into the seed folder by hand.
# Needs clang-14 and libclang-rt-14-dev (installed by scripts/install-deps.sh).
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-120}"
shift || true
TARGET="all"
if [ $# -gt 0 ] && [ "${1#-}" = "$1" ]; then
  TARGET="$1"
  shift
fi
OUT="${FUZZ_BUILD_DIR:-$SOURCE_DIR/build-fuzz}"

ALL_TARGETS=()
for corpus in "$SOURCE_DIR"/fuzz/*/corpus; do
  ALL_TARGETS+=("$(basename "$(dirname "$corpus")")")
done
if [ "$TARGET" = "all" ]; then
  TARGETS=("${ALL_TARGETS[@]}")
elif [ -d "$SOURCE_DIR/fuzz/$TARGET/corpus" ]; then
  TARGETS=("$TARGET")
else
  echo "Unknown fuzz target \"$TARGET\". Targets: all ${ALL_TARGETS[*]}" >&2
  exit 2
fi

LAUNCHER=()
if command -v ccache >/dev/null; then
  LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S "$SOURCE_DIR" -B "$OUT" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DVELMORA_FUZZ=ON "${LAUNCHER[@]}" >/dev/null
EXECUTABLES=()
for target in "${TARGETS[@]}"; do
  EXECUTABLES+=("fuzz_${target//-/_}")
done
nice cmake --build "$OUT" -j2 --target "${EXECUTABLES[@]}"

cd "$SOURCE_DIR"
failed=()
summary=()
for target in "${TARGETS[@]}"; do
  mkdir -p "$OUT/corpus/$target" "$OUT/artifacts/$target" "$OUT/logs"
  log="$OUT/logs/$target.log"
  echo "== $target: ${SECONDS_TO_RUN} s"
  if nice -n 19 "$OUT/fuzz/fuzz_${target//-/_}" "$OUT/corpus/$target" "fuzz/$target/corpus" \
      -max_total_time="$SECONDS_TO_RUN" -max_len=4096 -timeout=20 \
      -artifact_prefix="$OUT/artifacts/$target/" -print_final_stats=1 "$@" >"$log" 2>&1; then
    result="ok"
  else
    result="FAILED (see $log)"
    failed+=("$target")
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 || true)
  summary+=("$(printf '%-18s %12s inputs  %-10s %s' "$target" "$runs" "$cov" "$result")")
done

echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Inputs that broke a property are in $OUT/artifacts/<target>/." >&2
  exit 1
fi
