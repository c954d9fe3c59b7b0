#!/bin/bash
# Transfer builder benchmark: collect the upload of a local tree of 20,000 files in 2,000 folders
# through the upload builder and its progress window, the whole program offscreen, against a
# loopback pyftpdlib server (goal < 2 s); reports the records and the memory.
# Usage: bench/transfer-bench.sh [build folder] [rounds]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
ROUNDS="${2:-3}"

cmake --build "$BUILD_DIR" --target upload_collect_bench velmora_assets >/dev/null
BENCH="$BUILD_DIR/bench/transfer/upload_collect_bench"

WORK="$(mktemp -d)"
SERVER_PID=""
cleanup() {
    if [ -n "${SERVER_IN:-}" ]; then exec {SERVER_IN}>&-; fi
    if [ -n "$SERVER_PID" ]; then wait "$SERVER_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

# Velmora's state files go to a profile of their own.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CACHE_HOME="$WORK/home/cache" XDG_CONFIG_HOME="$WORK/home/config"
mkdir -p "$HOME" "$WORK/root" "$WORK/local"

coproc SERVER { exec /usr/bin/python3 "$SOURCE_DIR/tests/support/ftp_test_server.py" --root "$WORK/root" \
    --user bench --password bench; }
SERVER_IN=${SERVER[1]}
SERVER_PID=$SERVER_PID
read -r -u "${SERVER[0]}" PORT_LINE
PORT="${PORT_LINE#PORT }"

echo "== Collecting the upload of 20,000 files in 2,000 folders (goal < 2 s), $ROUNDS rounds"
TIMES=""
for ((round = 1; round <= ROUNDS; round++)); do
    rm -rf "$HOME/data" "$HOME/cache"
    line=$(VELMORA_PROGRAM_FOLDER="$BUILD_DIR/bin/" "$BENCH" 127.0.0.1 "$PORT" bench bench "$WORK/local" 2000 10 2>&1 \
        | grep -v -e "This plugin" -e "not found!" -e XDG_RUNTIME)
    echo "$line" | sed "s/^/  round $round: /;2,\$s/^  round $round: /           /"
    TIMES="$TIMES $(echo "$line" | head -1 | cut -d' ' -f1)"
done
printf "  median %s s\n" "$(printf "%s\n" $TIMES | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}')"
