#!/usr/bin/env bash
# Run after the tests: fails when a test left a process of the program behind (the program of
# this build, one unpacked by the package test, or a test program of this build). Every test
# ends what it starts.
#
#   scripts/check-leftover-processes.sh BUILD_DIR
set -uo pipefail
build="$(realpath "${1:?usage: check-leftover-processes.sh BUILD_DIR}")"
left=""
for link in /proc/[0-9]*/exe; do
  target="$(readlink "$link" 2>/dev/null)" || continue
  case "$target" in
    "$build"/bin/velmora | "$build"/bin/velmora\ * | "$build"/tests/* | */velmora-package-test.*/usr/bin/velmora*)
      pid="${link#/proc/}"
      pid="${pid%/exe}"
      [ "$pid" = "$$" ] && continue
      left="$left
  $pid $target $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
      ;;
  esac
done
if [ -n "$left" ]; then
  echo "FAIL: tests left these processes running:$left" >&2
  exit 1
fi
echo "no test left a process of the program running"
