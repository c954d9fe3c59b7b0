#!/bin/sh
# Runs a command with its own D-Bus session bus and a fresh GNOME keyring (a real Secret
# Service) in a temporary home, unlocked with a password given on standard input. Everything
# started here ends with the command: the keyring daemon ends with its bus, then the home goes.
set -eu
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home/home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
export XDG_RUNTIME_DIR="$home/run"
mkdir -p "$HOME" "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY GNOME_KEYRING_CONTROL
# shellcheck disable=SC2016
dbus-run-session -- sh -c '
  printf "%s" velmora-test-keyring | gnome-keyring-daemon --unlock --components=secrets > /dev/null
  exec "$@"
' sh "$@"
