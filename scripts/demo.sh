#!/usr/bin/env bash
# Starts a local demo FTP server with a sample web site, then Velmora with a demo profile.
# The server stops when Velmora exits.
set -euo pipefail
build_dir="${1:-build}"
repo="$(cd "$(dirname "$0")/.." && pwd)"
velmora="$repo/$build_dir/bin/velmora"

site="$(mktemp -d -t velmora-demo-site.XXXXXX)"
bash "$repo/scripts/make_demo_site.sh" "$site"

# The demo profile keeps its settings between demo runs, apart from the user's own.
profile="$repo/$build_dir/demo-profile"
mkdir -p "$profile/home" "$profile/data" "$profile/cache" "$profile/config"

port_file="$(mktemp)"
/usr/bin/python3 "$repo/scripts/demo_ftp_server.py" --root "$site" --user demo --password demo > "$port_file" 2>"$site.log" &
server_pid=$!
cleanup() {
  kill "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
  rm -rf "$site" "$site.log" "$port_file"
}
trap cleanup EXIT

for _ in $(seq 1 100); do
  [ -s "$port_file" ] && break
  sleep 0.05
done
port="$(head -n 1 "$port_file")"
if [ -z "$port" ]; then
  echo "The demo FTP server did not start:" >&2
  cat "$site.log" >&2
  exit 1
fi

cat <<TXT
Velmora demo FTP server is running.
  Host:     127.0.0.1
  Port:     $port
  User:     demo
  Password: demo
  Folder:   $site
Connect with these details (site manager: F12). The server stops when Velmora exits.
TXT

export VELMORA_DEMO_HOST=127.0.0.1 VELMORA_DEMO_PORT="$port" VELMORA_DEMO_USER=demo VELMORA_DEMO_PASSWORD=demo
HOME="$profile/home" XDG_DATA_HOME="$profile/data" XDG_CACHE_HOME="$profile/cache" XDG_CONFIG_HOME="$profile/config" \
  "$velmora" || true
