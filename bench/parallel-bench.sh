#!/bin/bash
# Simultaneous transfers benchmark: 2,000 files of 4 KiB in 40 folders, carried by an unattended
# batch job ("velmora job.queue -rc", offscreen, start-up and end included) with "Simultaneous
# transfers" 4, side by side with "lftp mirror" on one connection and "lftp mirror
# --parallel=4", in the same run from the same loopback pyftpdlib server; first the download,
# then the upload (against "mirror -R"). Goals: Velmora <= 0.5 x lftp with one connection and
# <= 1.0 x lftp with four, in both directions. lftp only serves as the clock to compare with.
# Usage: bench/parallel-bench.sh [build folder] [rounds]
set -euo pipefail

SOURCE_DIR="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="$(cd "${1:-$SOURCE_DIR/build}" && pwd)"
ROUNDS="${2:-3}"
SESSIONS=4

if ! command -v lftp >/dev/null; then
    echo "== lftp is missing: installing it from Debian"
    apt-get install -y lftp >/dev/null
fi
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
APP_DATA="$XDG_DATA_HOME/Holmvik/Velmora"
mkdir -p "$HOME" "$APP_DATA" "$WORK/root/tree" "$WORK/root/up" "$WORK/out"
printf '[SETTINGS]\r\nSimultaneousTransfers=%d\r\n' "$SESSIONS" > "$APP_DATA/options.ini"

echo "== Preparing: 2,000 files of 4 KiB in 40 folders"
for ((d = 0; d < 40; d++)); do
    dir="$WORK/root/tree/folder$(printf %02d "$d")"
    mkdir -p "$dir"
    for ((f = 0; f < 50; f++)); do head -c 4096 /dev/urandom > "$dir/file$(printf %02d "$f").dat"; done
done
cp -r "$WORK/root/tree" "$WORK/local-tree"

coproc SERVER { exec /usr/bin/python3 "$SOURCE_DIR/tests/support/ftp_test_server.py" --root "$WORK/root" \
    --user bench --password bench; }
SERVER_IN=${SERVER[1]}
SERVER_PID=$SERVER_PID
read -r -u "${SERVER[0]}" PORT_LINE
PORT="${PORT_LINE#PORT }"

# For every round: a download queue and an upload queue as "Save queue" writes them
# (Windows-1252, cells joined by the byte A7, CR LF) with the connection file beside each. Each
# round and program writes into folders of its own.
/usr/bin/python3 - "$WORK" "$PORT" "$ROUNDS" <<'EOF'
import sys
work, port, rounds = sys.argv[1], sys.argv[2], int(sys.argv[3])
password = "".join("%03d" % b for b in b"bench")
login = ("[SETTINGS]\r\nHost=127.0.0.1\r\nUser=bench\r\nPassword=%s\r\nPort=%s\r\n"
         "ActivMode=0\r\nLocalPath=%s/out/\r\nServerPath=/\r\n" % (password, port, work)).encode()
for r in range(1, rounds + 1):
    down, up = [], []
    for d in range(40):
        for f in range(50):
            path = "folder%02d/file%02d.dat" % (d, f)
            down.append("\xa7".join(["/tree/" + path, "RETR", "%s/out/%d/velmora/%s" % (work, r, path), "4096",
                                     "05/20/2010 10:12:00"]))
            up.append("\xa7".join(["%s/local-tree/%s" % (work, path), "STOR", "/up/%d/velmora/%s" % (r, path), "4096",
                                   "05/20/2010 10:12:00"]))
    for name, rows in (("down", down), ("up", up)):
        open("%s/%s%d.queue" % (work, name, r), "wb").write(("\r\n".join(rows) + "\r\n").encode("cp1252"))
        open("%s/%s%d.ftp" % (work, name, r), "wb").write(login)
EOF
echo "   pyftpdlib on 127.0.0.1:$PORT, $ROUNDS rounds, the programs taking turns at going first"

now() { date +%s.%N; }
median() { printf "%s\n" "$@" | sort -g | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
same_tree() { diff -r "$1" "$2" >/dev/null || { echo "copies differ: $1 $2" >&2; exit 1; }; }
LFTP_SETTINGS="set ftp:ssl-allow no; set ftp:passive-mode on; set net:max-retries 1; set cmd:fail-exit yes"

# $1 direction (down/up), $2 round, $3 name, then the command; the time goes to T.
timed() {
    local start end
    start=$(now)
    "${@:3}"
    end=$(now)
    T=$(echo "$end - $start" | bc -l)
}
lftp_run() { lftp -u bench,bench -p "$PORT" -e "$LFTP_SETTINGS; $1; quit" 127.0.0.1 >/dev/null; }
velmora_run() {
    local status=0
    "$VELMORA" "$1" -rc 2>"$WORK/velmora.err" || status=$?
    [ "$status" -eq 0 ] || { echo "velmora ended with status $status" >&2; grep '^velmora:' "$WORK/velmora.err" >&2; exit 1; }
}

# $1 direction: down or up.
bench_direction() {
    local dir=$1 round order one four ours
    local ONE="" FOUR="" OURS=""
    for ((round = 1; round <= ROUNDS; round++)); do
        if [ "$dir" = down ]; then
            one=(lftp_run "mirror /tree $WORK/out/$round/lftp1")
            four=(lftp_run "mirror --parallel=$SESSIONS /tree $WORK/out/$round/lftp4")
            ours=(velmora_run "$WORK/down$round.queue")
        else
            mkdir -p "$WORK/root/up/$round"
            one=(lftp_run "mirror -R $WORK/local-tree /up/$round/lftp1")
            four=(lftp_run "mirror -R --parallel=$SESSIONS $WORK/local-tree /up/$round/lftp4")
            ours=(velmora_run "$WORK/up$round.queue")
        fi
        # The three take turns at going first.
        for ((order = 0; order < 3; order++)); do
            case $(((order + round) % 3)) in
            0) timed "$dir" "$round" "${one[@]}"; t_one=$T; ONE="$ONE $T" ;;
            1) timed "$dir" "$round" "${four[@]}"; t_four=$T; FOUR="$FOUR $T" ;;
            2) timed "$dir" "$round" "${ours[@]}"; t_ours=$T; OURS="$OURS $T" ;;
            esac
        done
        if [ "$dir" = down ]; then
            for copy in lftp1 lftp4 velmora; do same_tree "$WORK/root/tree" "$WORK/out/$round/$copy"; done
        else
            for copy in lftp1 lftp4 velmora; do same_tree "$WORK/local-tree" "$WORK/root/up/$round/$copy"; done
        fi
        printf "  round %d: lftp mirror %.3f s, lftp mirror --parallel=%d %.3f s, Velmora (%d at once) %.3f s\n" \
            "$round" "$t_one" "$SESSIONS" "$t_four" "$SESSIONS" "$t_ours"
    done
    local m_one m_four m_ours
    m_one=$(median $ONE); m_four=$(median $FOUR); m_ours=$(median $OURS)
    printf "  median: lftp %.3f s, lftp --parallel=%d %.3f s, Velmora %.3f s\n" "$m_one" "$SESSIONS" "$m_four" "$m_ours"
    printf "  ratio Velmora / lftp one connection: %.3f (goal <= 0.5)\n" "$(echo "$m_ours / $m_one" | bc -l)"
    printf "  ratio Velmora / lftp --parallel=%d:    %.3f (goal <= 1.0)\n" "$SESSIONS" "$(echo "$m_ours / $m_four" | bc -l)"
}

echo
echo "== Download of 2,000 files (lftp mirror, lftp mirror --parallel=$SESSIONS, velmora job.queue -rc)"
bench_direction down
echo
echo "== Upload of 2,000 files (lftp mirror -R, lftp mirror -R --parallel=$SESSIONS, velmora job.queue -rc)"
bench_direction up
