#!/bin/sh
# Stands in for powering the machine off in every test: records the call instead.
if [ -n "${VELMORA_SHUTDOWN_RECORD:-}" ]; then
  echo "shutdown" >> "$VELMORA_SHUTDOWN_RECORD"
fi
exit 0
