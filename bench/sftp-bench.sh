#!/bin/bash
# SFTP benchmark: a 1 GiB download and upload, and a folder of 2,000 files of 4 KiB down and up,
# from OpenSSH's sshd on loopback with Velmora's SFTP client, side by side with OpenSSH's sftp
# client (batch mode, "get -r"/"put -r" for the folder) in the same run.
# Usage: bench/sftp-bench.sh [build folder] [rounds]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
ROUNDS="${2:-3}"
SIZE=$((1024 * 1024 * 1024))

cmake --build "$BUILD_DIR" --target sftp_transfer_bench >/dev/null
BENCH="$BUILD_DIR/bench/sftp_transfer_bench"

WORK="$(mktemp -d)"
SSHD_PID=""
cleanup() {
    if [ -n "$SSHD_PID" ]; then
        kill "$SSHD_PID" 2>/dev/null || true
        wait "$SSHD_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

# The server: a host key and a user key made now, a free loopback port, no PAM.
mkdir -p "$WORK/root" "$WORK/out"
ssh-keygen -q -t ed25519 -N '' -f "$WORK/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$WORK/user_key"
cp "$WORK/user_key.pub" "$WORK/authorized_keys"
PORT=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat > "$WORK/sshd_config" <<CONFIG
Port $PORT
ListenAddress 127.0.0.1
HostKey $WORK/host_key
AuthorizedKeysFile $WORK/authorized_keys
UsePAM no
PidFile none
StrictModes no
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
Subsystem sftp internal-sftp
CONFIG
if [ "$(id -u)" -eq 0 ]; then mkdir -p /run/sshd; fi
/usr/sbin/sshd -D -e -f "$WORK/sshd_config" 2>"$WORK/sshd.log" &
SSHD_PID=$!
for _ in $(seq 100); do grep -q "Server listening" "$WORK/sshd.log" && break; sleep 0.05; done
grep -q "Server listening" "$WORK/sshd.log" || { cat "$WORK/sshd.log" >&2; exit 1; }
echo "[127.0.0.1]:$PORT $(cut -d' ' -f1,2 "$WORK/host_key.pub")" > "$WORK/known_hosts"
USER_NAME="$(id -un)"

head -c "$SIZE" /dev/urandom > "$WORK/root/big.bin"
head -c "$SIZE" /dev/urandom > "$WORK/up.bin"
mkdir -p "$WORK/root/small" "$WORK/small"
for i in $(seq -w 2000); do head -c 4096 /dev/urandom > "$WORK/root/small/f$i.bin"; done
cp "$WORK/root/small/"* "$WORK/small/"

SFTP=(sftp -q -b - -i "$WORK/user_key" -o "UserKnownHostsFile=$WORK/known_hosts" -o BatchMode=yes -P "$PORT"
      "$USER_NAME@127.0.0.1")
velmora() { "$BENCH" "$1" 127.0.0.1 "$PORT" "$USER_NAME" "$WORK/user_key" "$WORK/known_hosts" "$2" "$3" >/dev/null; }
now() { date +%s.%N; }
# timed TIMES command...: runs the command and appends its seconds to the array TIMES.
timed() {
    local -n times=$1
    shift
    local start
    start=$(now)
    "$@"
    times+=("$(echo "$(now) - $start" | bc -l)")
}
batch() { echo "$1" | "${SFTP[@]}" >/dev/null; }
same() { if [ -d "$1" ]; then diff -r -q "$1" "$2" >/dev/null; else cmp -s "$1" "$2"; fi || { echo "$3 differs" >&2; exit 1; }; }

echo "== 1 GiB over SFTP from OpenSSH's sshd on 127.0.0.1:$PORT, $ROUNDS rounds each, alternating"
SFTP_DOWN=(); VELMORA_DOWN=(); SFTP_UP=(); VELMORA_UP=()
for ((round = 1; round <= ROUNDS; round++)); do
    rm -rf "$WORK/out/"* "$WORK/root/up-"*
    timed SFTP_DOWN batch "get $WORK/root/big.bin $WORK/out/sftp.bin"
    same "$WORK/out/sftp.bin" "$WORK/root/big.bin" "sftp's copy"
    rm -f "$WORK/out/"*
    timed VELMORA_DOWN velmora download "$WORK/root/big.bin" "$WORK/out/velmora.bin"
    same "$WORK/out/velmora.bin" "$WORK/root/big.bin" "Velmora's copy"
    rm -f "$WORK/out/"*
    timed SFTP_UP batch "put $WORK/up.bin $WORK/root/up-sftp.bin"
    same "$WORK/root/up-sftp.bin" "$WORK/up.bin" "sftp's upload"
    rm -f "$WORK/root/up-"*
    timed VELMORA_UP velmora upload "$WORK/root/up-velmora.bin" "$WORK/up.bin"
    same "$WORK/root/up-velmora.bin" "$WORK/up.bin" "Velmora's upload"
    rm -f "$WORK/root/up-"*
    printf "  round %d: download sftp %.3f s, Velmora %.3f s; upload sftp %.3f s, Velmora %.3f s\n" "$round" \
        "${SFTP_DOWN[-1]}" "${VELMORA_DOWN[-1]}" "${SFTP_UP[-1]}" "${VELMORA_UP[-1]}"
done

median() { printf "%s\n" "$@" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
report() {
    local what=$1 theirs mine
    theirs=$(median "${@:2:$ROUNDS}")
    mine=$(median "${@:$((2 + ROUNDS)):$ROUNDS}")
    printf "  %s median: sftp %.3f s (%.0f MB/s), Velmora %.3f s (%.0f MB/s); ratio Velmora / sftp %.3f (goal <= 1.10)\n" \
        "$what" "$theirs" "$(echo "1073.741824 / $theirs" | bc -l)" "$mine" "$(echo "1073.741824 / $mine" | bc -l)" \
        "$(echo "$mine / $theirs" | bc -l)"
}
report download "${SFTP_DOWN[@]}" "${VELMORA_DOWN[@]}"
report upload "${SFTP_UP[@]}" "${VELMORA_UP[@]}"

echo
echo "== 2,000 files of 4 KiB, $ROUNDS rounds each, alternating"
SMALL_SFTP_DOWN=(); SMALL_VELMORA_DOWN=(); SMALL_SFTP_UP=(); SMALL_VELMORA_UP=()
for ((round = 1; round <= ROUNDS; round++)); do
    rm -rf "$WORK/out/"* "$WORK/root/up-"*
    timed SMALL_SFTP_DOWN batch "get -r $WORK/root/small $WORK/out/sftp"
    same "$WORK/out/sftp" "$WORK/root/small" "sftp's folder"
    timed SMALL_VELMORA_DOWN velmora download-folder "$WORK/root/small" "$WORK/out/velmora"
    same "$WORK/out/velmora" "$WORK/root/small" "Velmora's folder"
    timed SMALL_SFTP_UP batch "put -r $WORK/small $WORK/root/up-sftp"
    same "$WORK/root/up-sftp" "$WORK/small" "sftp's uploaded folder"
    timed SMALL_VELMORA_UP velmora upload-folder "$WORK/root/up-velmora" "$WORK/small"
    same "$WORK/root/up-velmora" "$WORK/small" "Velmora's uploaded folder"
    printf "  round %d: download sftp %.3f s, Velmora %.3f s; upload sftp %.3f s, Velmora %.3f s\n" "$round" \
        "${SMALL_SFTP_DOWN[-1]}" "${SMALL_VELMORA_DOWN[-1]}" "${SMALL_SFTP_UP[-1]}" "${SMALL_VELMORA_UP[-1]}"
done
rm -rf "$WORK/out/"* "$WORK/root/up-"*
report_small() {
    local what=$1 theirs mine
    theirs=$(median "${@:2:$ROUNDS}")
    mine=$(median "${@:$((2 + ROUNDS)):$ROUNDS}")
    printf "  %s median: sftp %.3f s, Velmora %.3f s; ratio Velmora / sftp %.3f (goal <= 1.00)\n" \
        "$what" "$theirs" "$mine" "$(echo "$mine / $theirs" | bc -l)"
}
report_small download "${SMALL_SFTP_DOWN[@]}" "${SMALL_VELMORA_DOWN[@]}"
report_small upload "${SMALL_SFTP_UP[@]}" "${SMALL_VELMORA_UP[@]}"
