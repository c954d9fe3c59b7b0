#!/bin/bash
# Batch job benchmark: an unattended download of a saved queue of 2,000 files of 4 KiB in 40
# folders with the real program ("velmora job.queue -rc", offscreen, start-up and end
# included), side by side with lftp fetching the same 2,000 files on one connection, in the
# same run from the same loopback pyftpdlib server. Goal: Velmora <= 1.1 x lftp.
# Usage: bench/batch-bench.sh [build folder] [rounds]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
ROUNDS="${2:-3}"

cmake --build "$BUILD_DIR" --target velmora velmora_assets >/dev/null
VELMORA="$BUILD_DIR/bin/velmora"

WORK="$(mktemp -d)"
SERVER_PID=""
cleanup() {
    if [ -n "${SERVER_IN:-}" ]; then exec {SERVER_IN}>&-; fi
    if [ -n "$SERVER_PID" ]; then wait "$SERVER_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

# Velmora's state files go to a profile of their own; nothing may power the machine off.
export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/data" XDG_CACHE_HOME="$WORK/home/cache" XDG_CONFIG_HOME="$WORK/home/config"
export QT_QPA_PLATFORM=offscreen VELMORA_SHUTDOWN_COMMAND=true
mkdir -p "$HOME" "$WORK/root/tree" "$WORK/out"

echo "== Preparing: 2,000 files of 4 KiB in 40 folders, a saved queue of 2,000 downloads"
for ((d = 0; d < 40; d++)); do
    dir="$WORK/root/tree/folder$(printf %02d "$d")"
    mkdir -p "$dir"
    for ((f = 0; f < 50; f++)); do head -c 4096 /dev/urandom > "$dir/file$(printf %02d "$f").dat"; done
done

coproc SERVER { exec /usr/bin/python3 "$SOURCE_DIR/tests/support/ftp_test_server.py" --root "$WORK/root" \
    --user bench --password bench; }
SERVER_IN=${SERVER[1]}
SERVER_PID=$SERVER_PID
read -r -u "${SERVER[0]}" PORT_LINE
PORT="${PORT_LINE#PORT }"

# For every round: the queue file as "Save queue" writes it (Windows-1252, cells joined by the
# byte A7, CR LF) with its connection file beside it (the password encoded as three digits per
# byte), and the same file list as an lftp script. Each round writes into folders of its own:
# files deleted just before would make the file system's inode allocation slower for whichever
# program comes second.
/usr/bin/python3 - "$WORK" "$PORT" "$ROUNDS" <<'EOF'
import sys
work, port, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
password = "".join("%03d" % b for b in b"bench")
for r in range(1, rounds + 1):
    rows, gets = [], []
    for d in range(40):
        for f in range(50):
            remote = "/tree/folder%02d/file%02d.dat" % (d, f)
            rows.append("\xa7".join([remote, "RETR", "%s/out/%d/velmora%s" % (work, r, remote[5:]), "4096", "05/20/2010 10:12:00"]))
            gets.append("get %s -o %s/out/%d/lftp%s" % (remote, work, r, remote[5:]))
    open("%s/job%d.queue" % (work, r), "wb").write(("\r\n".join(rows) + "\r\n").encode("cp1252"))
    open("%s/job%d.ftp" % (work, r), "wb").write(("[SETTINGS]\r\nHost=127.0.0.1\r\nUser=bench\r\nPassword=%s\r\nPort=%s\r\n"
                                                "ActivMode=0\r\nLocalPath=%s/out/\r\nServerPath=/\r\n" % (password, port, work)).encode())
    open("%s/lftp-gets%d" % (work, r), "w").write("\n".join(gets) + "\n")
EOF
echo "   pyftpdlib on 127.0.0.1:$PORT, $ROUNDS rounds, alternating"

now() { date +%s.%N; }
median() { printf "%s\n" "$@" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
same_tree() { diff -r "$1" "$2" >/dev/null || { echo "copies differ: $1 $2" >&2; exit 1; }; }
LFTP_SETTINGS="set ftp:ssl-allow no; set ftp:passive-mode on; set net:max-retries 1; set cmd:fail-exit yes; set net:connection-limit 1"

echo
echo "== Unattended download of the queue (lftp, one connection, vs. velmora job.queue -rc)"
PEER=""; OURS=""
run_lftp() {
    local start end
    start=$(now)
    mkdir -p "$WORK/out/$1/lftp"/folder{00..39}
    lftp -u bench,bench -p "$PORT" -e "$LFTP_SETTINGS; source $WORK/lftp-gets$1; quit" 127.0.0.1 >/dev/null
    end=$(now)
    t1=$(echo "$end - $start" | bc -l); PEER="$PEER $t1"
    same_tree "$WORK/root/tree" "$WORK/out/$1/lftp"
}
run_velmora() {
    local start end status=0
    start=$(now)
    "$VELMORA" "$WORK/job$1.queue" -rc 2>"$WORK/velmora.err" || status=$?
    end=$(now)
    t2=$(echo "$end - $start" | bc -l); OURS="$OURS $t2"
    [ "$status" -eq 0 ] || { echo "velmora ended with status $status" >&2; grep '^velmora:' "$WORK/velmora.err" >&2; exit 1; }
    same_tree "$WORK/root/tree" "$WORK/out/$1/velmora"
}
for ((round = 1; round <= ROUNDS; round++)); do
    # The two take turns at going first.
    if ((round % 2)); then run_lftp "$round"; run_velmora "$round"; else run_velmora "$round"; run_lftp "$round"; fi
    printf "  round %d: lftp %.3f s, Velmora %.3f s\n" "$round" "$t1" "$t2"
done
peer=$(median $PEER)
ours=$(median $OURS)
printf "  median: lftp %.3f s, Velmora %.3f s, ratio %.3f (goal <= 1.1)\n" "$peer" "$ours" "$(echo "$ours / $peer" | bc -l)"
echo "  log lines written: $(grep -c . "$XDG_DATA_HOME/Holmvik/Velmora/Lastbatchjob.log")"
