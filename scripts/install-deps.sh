#!/usr/bin/env bash
# Installs every Debian 12 package that building, running, demonstrating, packaging and testing
# Velmora needs. Safe to run again: it only installs what is missing.
#
#   scripts/install-deps.sh          install what is missing
#   scripts/install-deps.sh --list   print the package list, one name per line
#
# The list below is the only place these packages are named: the build-dependency test
# (scripts/check-build-deps.py) reads it with --list. Packages come without their Recommends,
# so everything the build finds must be here or a Depends/Pre-Depends of something here.
set -euo pipefail

packages=(
  # compilers and build tools
  build-essential
  cmake
  ninja-build
  pkg-config
  # libraries
  qt6-base-dev
  qt6-charts-dev
  libqt6opengl6-dev        # Qt Charts' CMake files look for Qt6OpenGL; only a Recommends of qt6-charts-dev
  libqscintilla2-qt6-dev
  libgl1-mesa-dev
  libglu1-mesa-dev         # FindOpenGL (through Qt6Gui) records GLU when present: same configure everywhere
  libzip-dev
  qtkeychain-qt6-dev
  libsecret-1-0            # QtKeychain loads it at run time to reach the Secret Service
  libssh-dev               # SFTP sites
  # tests, demo and screenshots
  libgtest-dev
  googletest
  python3
  python3-pyftpdlib
  python3-openssl          # pyftpdlib's TLS handler (FTP over TLS tests, demo)
  python3-cryptography     # test certificate authority and certificates
  xvfb
  xauth
  imagemagick
  fonts-dejavu-core
  gnome-keyring            # a real Secret Service for the keyring tests
  dbus-bin                 # dbus-run-session: the keyring tests' private session bus
  dbus-daemon
  openssh-server           # a real SSH server (sshd) for the SFTP tests and benchmark
  openssh-client           # ssh-keygen and ssh-agent for the SFTP tests; sftp for the benchmark
  python3-asyncssh         # an SFTP server that checks a password of its own (SFTP password tests)
  proftpd-basic            # a second real FTP server with its own defaults (the tests start it themselves)
  # benchmarks (lftp and curl are the clients they compare with) and the fuzzing build
  lftp
  curl
  bc
  clang-14
  libclang-rt-14-dev
  # Debian package and desktop integration: dpkg-shlibdeps and file (cpack runs both to
  # compute the package's dependencies), the validators, the manual page check
  dpkg-dev
  file
  desktop-file-utils
  appstream
  groff-base
)

if [ "${1:-}" = "--list" ]; then
  printf '%s\n' "${packages[@]}"
  exit 0
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"

# proftpd-basic starts a system FTP server on port 21 and enables it at boot. The tests run
# their own proftpd with a private configuration and never need it: it is stopped and disabled.
if printf '%s\n' "${missing[@]}" | grep -qx proftpd-basic; then
  if [ -d /run/systemd/system ]; then
    $SUDO systemctl stop proftpd.service >/dev/null 2>&1 || true
  else
    $SUDO invoke-rc.d proftpd stop >/dev/null 2>&1 || true
  fi
  if command -v systemctl >/dev/null 2>&1; then
    $SUDO systemctl disable proftpd.service >/dev/null 2>&1 || true
  fi
  $SUDO update-rc.d proftpd disable >/dev/null 2>&1 || true
fi
