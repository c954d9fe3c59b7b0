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

# A certificate made for the demo (kept in the demo profile, so that "Trust always" holds from
# one demo run to the next): self-signed, so the first connect shows the certificate window.
certificate="$profile/demo-tls.pem"
if [ ! -s "$certificate" ]; then
  (umask 077 && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 3650 \
    -subj "/O=Velmora demo/CN=127.0.0.1" -addext "subjectAltName=IP:127.0.0.1" \
    -keyout "$certificate.key" -out "$certificate.crt" 2>/dev/null \
    && cat "$certificate.crt" "$certificate.key" > "$certificate" && rm -f "$certificate.crt" "$certificate.key")
fi

port_file="$(mktemp)"
tls_port_file="$(mktemp)"
/usr/bin/python3 "$repo/scripts/demo_ftp_server.py" --root "$site" --user demo --password demo > "$port_file" 2>"$site.log" &
server_pid=$!
/usr/bin/python3 "$repo/scripts/demo_ftp_server.py" --root "$site" --user demo --password demo \
  --tls-certificate "$certificate" > "$tls_port_file" 2>>"$site.log" &
tls_server_pid=$!
cleanup() {
  kill "$server_pid" "$tls_server_pid" 2>/dev/null || true
  wait "$server_pid" "$tls_server_pid" 2>/dev/null || true
  rm -rf "$site" "$site.log" "$port_file" "$tls_port_file"
}
trap cleanup EXIT

for _ in $(seq 1 100); do
  [ -s "$port_file" ] && [ -s "$tls_port_file" ] && break
  sleep 0.05
done
port="$(head -n 1 "$port_file")"
tls_port="$(head -n 1 "$tls_port_file")"
if [ -z "$port" ] || [ -z "$tls_port" ]; then
  echo "The demo FTP servers did not start:" >&2
  cat "$site.log" >&2
  exit 1
fi

# The demo servers as stored sites, the plain one preselected in the site manager that opens at
# start, so F9 connects at once. The lines are the site file's own format: eight fields joined
# by "§" (byte A7), the password as three decimal digits per byte, for an encrypted site a ninth
# field with its encryption ("ftpes": explicit TLS required), CR LF; the file is for the user only.
appdata="$profile/data/Holmvik/Velmora"
if [ ! -d "$appdata" ]; then
  mkdir -p "$appdata"
  # Velmora fills a profile folder it creates itself; this one exists before it starts.
  version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$repo/$build_dir/CMakeCache.txt" 2>/dev/null || true)"
  printf 'Version %s\r\n' "${version:-0}" > "$appdata/ver.ini"
  case "${LC_ALL:-${LC_MESSAGES:-${LANG:-}}}" in
    de*) printf 'GERMAN\r\n' > "$appdata/LanguageIsSet.ini" ;;
    *) printf 'ENGLISH\r\n' > "$appdata/LanguageIsSet.ini" ;;
  esac
fi
encode_password() {
  local digits=""
  for byte in $(printf '%s' "$1" | od -An -tu1 -v); do
    digits+="$(printf '%03d' "$byte")"
  done
  printf '%s' "$digits"
}
sep=$'\xa7'
demo_name="Demo server"
demo_line="$demo_name$sep""127.0.0.1$sep""demo$sep$(encode_password demo)$sep$port$sep\\$sep/$sep""Passive"
tls_name="Demo server (TLS)"
tls_line="$tls_name$sep""127.0.0.1$sep""demo$sep$(encode_password demo)$sep$tls_port$sep\\$sep/$sep""Passive$sep""ftpes"
store="$appdata/ftp_connections.bin"
(
  umask 077
  export LC_ALL=C
  { [ -f "$store" ] && grep -av -e "^$demo_name$sep" -e "^$tls_name$sep" "$store" || true
    printf '%s\r\n' "$demo_line" "$tls_line"; } \
    | sort -f > "$store.new"
  chmod 600 "$store.new"
  mv -f "$store.new" "$store"
  row="$(grep -an "^$demo_name$sep" "$store" | head -n 1 | cut -d: -f1)"
  printf '%s\r\n' "$((row - 1))" > "$appdata/ftp_lastconnection.ini"
)

cat <<TXT
Velmora demo FTP server is running.
  Host:     127.0.0.1
  Port:     $port
  User:     demo
  Password: demo
  Folder:   $site
The site manager opens with it stored as "Demo server": press F9 to connect.
"Demo server (TLS)" is the same folder over explicit FTP over TLS (port $tls_port), with a
certificate made for the demo: the first connect shows the certificate window.
The server stops when Velmora exits.
TXT

export VELMORA_DEMO_HOST=127.0.0.1 VELMORA_DEMO_PORT="$port" VELMORA_DEMO_USER=demo VELMORA_DEMO_PASSWORD=demo
HOME="$profile/home" XDG_DATA_HOME="$profile/data" XDG_CACHE_HOME="$profile/cache" XDG_CONFIG_HOME="$profile/config" \
  "$velmora" || true
