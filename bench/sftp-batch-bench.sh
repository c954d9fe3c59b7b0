#!/bin/bash
# SFTP batch job benchmark: the real program as a scheduler starts it ("velmora job.queue -rc",
# offscreen, start-up and end included) with saved queues of an SFTP site (Protocol=sftp, the
# host key in ~/.ssh/known_hosts), side by side with OpenSSH's sftp client in batch mode
# ("sftp -b", get/put, "-r" for the tree), in the same run from OpenSSH's sshd on loopback:
# a 1 GiB download and upload (goal: Velmora <= 1.1 x sftp), and 2,000 files of 4 KiB in
# 40 folders down and up (goal: Velmora <= 1.0 x sftp).
# Usage: bench/sftp-batch-bench.sh [build folder] [rounds]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
ROUNDS="${2:-3}"
SIZE=$((1024 * 1024 * 1024))

cmake --build "$BUILD_DIR" --target velmora velmora_assets >/dev/null
VELMORA="$BUILD_DIR/bin/velmora"

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

# Velmora's state files go to a profile of their own; no agent, nothing may power the machine off.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CACHE_HOME="$WORK/home/cache" XDG_CONFIG_HOME="$WORK/home/config"
export QT_QPA_PLATFORM=offscreen VELMORA_SHUTDOWN_COMMAND=true
unset SSH_AUTH_SOCK
mkdir -p "$HOME/.ssh" "$WORK/root" "$WORK/out" "$WORK/jobs"

# The server: a host key and a user key made now, a free loopback port, no PAM.
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
# Both clients trust the host key from the same known_hosts: the user's own, as a batch job needs.
echo "[127.0.0.1]:$PORT $(cut -d' ' -f1,2 "$WORK/host_key.pub")" > "$HOME/.ssh/known_hosts"
USER_NAME="$(id -un)"

echo "== Preparing: 1 GiB on the server and 1 GiB here, 2,000 files of 4 KiB in 40 folders on both sides"
head -c "$SIZE" /dev/urandom > "$WORK/root/big.bin"
head -c "$SIZE" /dev/urandom > "$WORK/up.bin"
for ((d = 0; d < 40; d++)); do
    dir="$WORK/root/tree/folder$(printf %02d "$d")"
    mkdir -p "$dir"
    for ((f = 0; f < 50; f++)); do head -c 4096 /dev/urandom > "$dir/file$(printf %02d "$f").dat"; done
done
cp -r "$WORK/root/tree" "$WORK/small"

# For every round the saved queues as "Save queue" writes them (Windows-1252, cells joined by
# the byte A7, CR LF), each with its connection file beside it (Protocol=sftp, the user key as
# the site's key file). Each round writes into folders of its own: files deleted just before
# would make the file system's inode allocation slower for whichever program comes second.
/usr/bin/python3 - "$WORK" "$PORT" "$ROUNDS" "$USER_NAME" "$SIZE" <<'EOF'
import sys
work, port, rounds, user, size = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
date = "05/20/2010 10:12:00"

def write_job(name, rows):
    text = "\r\n".join("\xa7".join(cells) for cells in rows) + "\r\n"
    open("%s/jobs/%s.queue" % (work, name), "wb").write(text.encode("cp1252"))
    login = ("[SETTINGS]\r\nHost=127.0.0.1\r\nUser=%s\r\nPassword=\r\nPort=%s\r\nActivMode=0\r\nLocalPath=%s/out/\r\n"
             "ServerPath=/\r\nProtocol=sftp\r\nKeyFile=%s/user_key\r\n" % (user, port, work, work))
    open("%s/jobs/%s.ftp" % (work, name), "wb").write(login.encode())

for r in range(1, rounds + 1):
    write_job("big-down%d" % r, [["%s/root/big.bin" % work, "RETR", "%s/out/%d/velmora.bin" % (work, r), size, date]])
    write_job("big-up%d" % r, [["%s/up.bin" % work, "STOR", "%s/root/up%d-velmora.bin" % (work, r), size, date]])
    down, up = [], []
    for d in range(40):
        folder = "folder%02d" % d
        up.append(["%s/root/up%d-velmora/%s" % (work, r, folder), "MKD", "", "", ""])
        for f in range(50):
            name = "%s/file%02d.dat" % (folder, f)
            down.append(["%s/root/tree/%s" % (work, name), "RETR", "%s/out/%d/velmora/%s" % (work, r, name), "4096", date])
            up.append(["%s/small/%s" % (work, name), "STOR", "%s/root/up%d-velmora/%s" % (work, r, name), "4096", date])
    write_job("small-down%d" % r, down)
    write_job("small-up%d" % r, [["%s/root/up%d-velmora" % (work, r), "MKD", "", "", ""]] + up)
EOF
echo "   OpenSSH's sshd on 127.0.0.1:$PORT, $ROUNDS rounds, the two clients taking turns at going first"

SFTP=(sftp -q -b - -i "$WORK/user_key" -o "UserKnownHostsFile=$HOME/.ssh/known_hosts" -o BatchMode=yes -P "$PORT"
      "$USER_NAME@127.0.0.1")
now() { date +%s.%N; }
median() { printf "%s\n" "$@" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
same() { if [ -d "$1" ]; then diff -r -q "$1" "$2" >/dev/null; else cmp -s "$1" "$2"; fi || { echo "$3 differs" >&2; exit 1; }; }
# seconds COMMAND...: runs the command, prints how long it took.
seconds() {
    local start
    start=$(now)
    "$@"
    echo "$(now) - $start" | bc -l
}
sftp_batch() { echo "$1" | "${SFTP[@]}" >/dev/null; }
velmora_job() {
    local status=0
    "$VELMORA" "$WORK/jobs/$1.queue" -rc 2>"$WORK/velmora.err" || status=$?
    [ "$status" -eq 0 ] || { echo "velmora ended with status $status" >&2; grep '^velmora:' "$WORK/velmora.err" >&2; exit 1; }
}

# case NAME GOAL SFTP-COMMAND VELMORA-JOB CHECK: runs both clients ROUNDS times, taking turns at
# going first; CHECK ROUND compares both copies of a round with the original, then removes them.
case_() {
    local name=$1 goal=$2 sftp_command=$3 job=$4 check=$5 round t_sftp t_velmora
    local -a theirs=() ours=()
    echo
    echo "== $name"
    for ((round = 1; round <= ROUNDS; round++)); do
        mkdir -p "$WORK/out/$round"
        local command=${sftp_command//@R@/$round}
        if ((round % 2)); then
            t_sftp=$(seconds sftp_batch "$command"); t_velmora=$(seconds velmora_job "$job$round")
        else
            t_velmora=$(seconds velmora_job "$job$round"); t_sftp=$(seconds sftp_batch "$command")
        fi
        "$check" "$round"
        theirs+=("$t_sftp"); ours+=("$t_velmora")
        printf "  round %d: sftp %.3f s, Velmora %.3f s\n" "$round" "$t_sftp" "$t_velmora"
    done
    local peer mine
    peer=$(median "${theirs[@]}"); mine=$(median "${ours[@]}")
    printf "  median: sftp %.3f s, Velmora %.3f s; ratio Velmora / sftp %.3f (goal <= %s)\n" \
        "$peer" "$mine" "$(echo "$mine / $peer" | bc -l)" "$goal"
}

check_big_down() {
    same "$WORK/out/$1/sftp.bin" "$WORK/root/big.bin" "sftp's copy"
    same "$WORK/out/$1/velmora.bin" "$WORK/root/big.bin" "Velmora's copy"
    rm -rf "$WORK/out/$1"
}
check_big_up() {
    same "$WORK/root/up$1-sftp.bin" "$WORK/up.bin" "sftp's upload"
    same "$WORK/root/up$1-velmora.bin" "$WORK/up.bin" "Velmora's upload"
    rm -f "$WORK/root/up$1-"*
}
check_small_down() {
    same "$WORK/out/$1/sftp" "$WORK/root/tree" "sftp's tree"
    same "$WORK/out/$1/velmora" "$WORK/root/tree" "Velmora's tree"
}
check_small_up() {
    same "$WORK/root/up$1-sftp" "$WORK/small" "sftp's uploaded tree"
    same "$WORK/root/up$1-velmora" "$WORK/small" "Velmora's uploaded tree"
}

case_ "1 GiB download" 1.1 "get $WORK/root/big.bin $WORK/out/@R@/sftp.bin" big-down check_big_down
case_ "1 GiB upload" 1.1 "put $WORK/up.bin $WORK/root/up@R@-sftp.bin" big-up check_big_up
case_ "2,000 files of 4 KiB in 40 folders, download" 1.0 "get -r $WORK/root/tree $WORK/out/@R@/sftp" small-down check_small_down
case_ "2,000 files of 4 KiB in 40 folders, upload" 1.0 "put -r $WORK/small $WORK/root/up@R@-sftp" small-up check_small_up
echo
echo "  (times include each program's start, login and end; Velmora's job log: $(grep -c . "$XDG_DATA_HOME/Holmvik/Velmora/Lastbatchjob.log") lines)"
