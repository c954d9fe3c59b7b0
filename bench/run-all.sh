#!/usr/bin/env bash
# Runs every benchmark and prints its figures: start-up, then every bench/*-bench.sh (engine,
# queue, browser, batch jobs). Usage: bench/run-all.sh [build-folder]
set -uo pipefail
build="${1:-build}"
cd "$(dirname "$0")/.."
for i in 1 2 3; do "$build/bench/startup/startup_bench"; done
# browser-, engine-, queue- and transfer-bench.sh (the transfer builder's upload collection)
for script in bench/*-bench.sh; do
  [ -f "$script" ] && bash "$script" "$build"
done
