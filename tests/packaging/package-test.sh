#!/usr/bin/env bash
# Builds the Debian package with cpack into a temporary folder and checks it as a user's system
# would see it: control fields, contents, the unpacked program started from its new place,
# and the desktop entry, AppStream metadata and manual page through their validators.
# CTest passes the tools and the expected version in the environment (tests/packaging).
set -euo pipefail

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for tool in CPACK DPKG_DEB DPKG_SHLIBDEPS FILE_PROGRAM DESKTOP_FILE_VALIDATE APPSTREAMCLI GROFF READELF; do
  path="${!tool:-}"
  [ -n "$path" ] && [ -x "$path" ] || fail "$tool not found ('$path'): run scripts/install-deps.sh and configure again"
done

# Resolved, because the program reports its folders as the system resolves them.
work="$(realpath "$(mktemp -d -t velmora-package-test.XXXXXX)")"
pid=""
# Whatever happens, the program this test started ends with it.
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null; [ -z "$pid" ] || wait "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# --- build -------------------------------------------------------------------------------------
if ! "$CPACK" -G DEB --config "$CPACK_CONFIG" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack failed"
fi
arch="$(dpkg --print-architecture)"
deb="$work/out/velmora_${VERSION}_${arch}.deb"
[ -f "$deb" ] || fail "expected $deb; cpack wrote: $(ls "$work/out")"

# --- control fields ----------------------------------------------------------------------------
field() { "$DPKG_DEB" -f "$deb" "$1"; }
[ "$(field Package)" = velmora ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$VERSION" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = net ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is not 'Name <address>': $(field Maintainer)"
description="$(field Description)"
[ "$(printf '%s\n' "$description" | head -n 1)" = "FTP client with a transfer filter, a persistent queue and search and replace" ] ||
  fail "Description synopsis: $(printf '%s\n' "$description" | head -n 1)"
[ "$(printf '%s\n' "$description" | wc -l)" -ge 3 ] || fail "Description has no long text"

# Depends is computed: every library the program links directly comes from a package named there.
depends="$(field Depends)"
"$DPKG_DEB" -x "$deb" "$work/root"
program="$work/root/usr/bin/velmora"
[ -x "$program" ] || fail "the package holds no executable usr/bin/velmora"
while read -r soname; do
  library="$(ldd "$program" | awk -v so="$soname" '$1 == so && $3 ~ /^\// { print $3 }')"
  [ -n "$library" ] || continue # the dynamic loader itself
  owner="$(dpkg-query -S "$library" 2>/dev/null || dpkg-query -S "$(realpath "$library")" 2>/dev/null || true)"
  owner="${owner%%:*}"
  [ -n "$owner" ] || fail "no package owns $library ($soname)"
  [[ ", $depends," == *", $owner "* || ", $depends," == *", $owner,"* ]] ||
    fail "Depends lacks $owner, which provides $soname: $depends"
done < <("$READELF" -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
[[ "$depends" == *libqt6widgets6* ]] || fail "Depends lacks libqt6widgets6: $depends"

# --- contents ----------------------------------------------------------------------------------
"$DPKG_DEB" -c "$deb" >"$work/contents"
files="$(awk '$1 !~ /^d/ { print $6 }' "$work/contents")"
expect_file() {
  grep -qxF "./$1" <<<"$files" || fail "package lacks /$1"
}
expect_file usr/bin/velmora
expect_file usr/share/applications/com.holmvik.Velmora.desktop
expect_file usr/share/metainfo/com.holmvik.Velmora.metainfo.xml
expect_file usr/share/man/man1/velmora.1.gz
expect_file usr/share/doc/velmora/copyright
expect_file usr/share/velmora/recom_EN/m_splash.jpg
expect_file usr/share/velmora/skins/Small_Head_Office2003Blue.bmp
expect_file usr/share/velmora/help_GR/help.html
icon_sizes=(16 22 24 32 48 64 128 256 512)
for size in "${icon_sizes[@]}"; do
  expect_file "usr/share/icons/hicolor/${size}x${size}/apps/velmora.png"
done
# Nothing else: no build leftovers, test programs or stray folders.
stray="$(grep -vE '^\./usr/(bin/velmora|share/(applications|metainfo|man/man1|doc/velmora|velmora/(skins|recom_EN|recom_GR|help_EN|help_GR)|icons/hicolor/[0-9]+x[0-9]+/apps)/[^ ]+)$' <<<"$files" || true)"
[ -z "$stray" ] || fail "unexpected files in the package: $stray"
owners="$(awk '{ print $2 }' "$work/contents" | sort -u)"
[ "$owners" = root/root ] || fail "files not owned by root/root: $owners"

# Each icon is as large as its folder says (PNG header: width and height at bytes 16-23).
for size in "${icon_sizes[@]}"; do
  png="$work/root/usr/share/icons/hicolor/${size}x${size}/apps/velmora.png"
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$png")
  width=$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))
  height=$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))
  [ "$width" -eq "$size" ] && [ "$height" -eq "$size" ] || fail "icon ${size}x${size} is ${width}x${height}"
done

# --- desktop entry, AppStream metadata, manual page --------------------------------------------
desktop="$work/root/usr/share/applications/com.holmvik.Velmora.desktop"
metainfo="$work/root/usr/share/metainfo/com.holmvik.Velmora.metainfo.xml"
complaints="$("$DESKTOP_FILE_VALIDATE" "$desktop" 2>&1)" || fail "desktop-file-validate rejects the desktop entry: $complaints"
[ -z "$complaints" ] || fail "desktop-file-validate warns: $complaints"
for line in "Exec=velmora" "Icon=velmora" "GenericName=FTP Client" "Categories=Network;FileTransfer;"; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks '$line'"
done
grep -q '^Name\[de\]=' "$desktop" || fail "desktop entry has no German name"
"$APPSTREAMCLI" validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || {
  cat "$work/appstream.log" >&2
  fail "appstreamcli rejects the metainfo"
}
grep -q "<release version=\"$VERSION\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"/>" "$metainfo" ||
  fail "metainfo has no release entry for $VERSION"
grep -qF '<launchable type="desktop-id">com.holmvik.Velmora.desktop</launchable>' "$metainfo" ||
  fail "metainfo does not name the desktop entry"

manual="$work/root/usr/share/man/man1/velmora.1.gz"
gzip -t "$manual" || fail "manual page is not a valid gzip file"
zcat "$manual" | LC_ALL=C.UTF-8 "$GROFF" -man -Tutf8 -ww -z 2>"$work/groff.log" || fail "groff cannot format the manual page"
[ ! -s "$work/groff.log" ] || fail "groff warns about the manual page: $(cat "$work/groff.log")"
rendered="$(zcat "$manual" | LC_ALL=C.UTF-8 "$GROFF" -man -Tutf8 -P-cbou 2>/dev/null)"
for heading in NAME SYNOPSIS SWITCHES OPTIONS FILES "EXIT STATUS" EXAMPLES; do
  grep -qx "$heading" <<<"$rendered" || fail "manual page has no section $heading"
done
grep -qF "Velmora $VERSION" <<<"$rendered" || fail "manual page does not carry version $VERSION"
grep -qE '^ +0 2 \* \* \* .*velmora .*\.queue -rc' <<<"$rendered" || fail "manual page lacks the crontab example"

# --- the unpacked program ----------------------------------------------------------------------
# A profile of its own, and no display: --version and --check-files must not need one.
mkdir -p "$work/home" && chmod 700 "$work/home"
environment=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work/home" XDG_DATA_HOME="$work/home/data"
  XDG_CACHE_HOME="$work/home/cache" XDG_CONFIG_HOME="$work/home/config" XDG_RUNTIME_DIR="$work/home")
run() {
  "${environment[@]}" "$@"
}
version="$(run "$program" --version)" || fail "velmora --version failed with status $?"
[ "$(head -n 1 <<<"$version")" = "Velmora $VERSION" ] || fail "velmora --version says: $(head -n 1 <<<"$version")"

status=0
check="$(run "$program" --check-files)" || status=$?
[ "$status" -eq 0 ] || fail "velmora --check-files found a problem (status $status): $check"
grep -qxF "Program folder:  $work/root/usr/share/velmora/" <<<"$check" ||
  fail "the unpacked program looks for its files elsewhere: $(head -n 1 <<<"$check")"
grep -qxF "ok         skins/Small_Head_Office2003Blue.bmp" <<<"$check" || fail "design picture not read: $check"
grep -qxF "ok         recom_GR/m_splash.jpg" <<<"$check" || fail "splash picture not read: $check"
[ ! -e "$work/home/data" ] || fail "velmora --check-files created the profile folder"

# A normal start, offscreen: it comes up (a new profile appears) and stays up until stopped.
# A simple command, not a shell function: "$!" is then the program itself (env execs it), so the
# kill below reaches it.
"${environment[@]}" QT_QPA_PLATFORM=offscreen "$program" >"$work/start.log" 2>&1 &
pid=$!
profile="$work/home/data/Holmvik/Velmora"
for _ in $(seq 1 200); do
  [ -f "$profile/Lastbatchjob.log" ] && [ -f "$profile/ver.ini" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.05
done
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid" || true
  fail "the unpacked program ended at start: $(cat "$work/start.log")"
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
[ -f "$profile/ver.ini" ] || fail "the unpacked program did not create its profile in time"
grep -qx "Version $VERSION"$'\r' "$profile/ver.ini" || fail "ver.ini says: $(cat "$profile/ver.ini")"

echo "velmora_${VERSION}_${arch}.deb: $(wc -c <"$deb") bytes, Depends: $depends"
