#!/usr/bin/env bash
# Instruction count of one client start (to the main window shown, then exit) under callgrind:
# repeatable on a busy machine, unlike wall time. Prints the total; the profile is kept for
# callgrind_annotate.
# Usage: bench/startup_callgrind.sh [profile-file]   (KELVRA_BENCH_BIN=<build>/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh
out="${1:-$PWD/callgrind.kelvra.out}"
start_sim
KELVRA_SERVICE_URL="http://127.0.0.1:$port" KELVRA_DATA_DIR="$work/data" KELVRA_EXIT_AFTER_SHOW=1 \
  valgrind --tool=callgrind --callgrind-out-file="$out" "$bin/kelvra" >"$work/log" 2>&1 || true
grep -E "Collected" "$work/log" | sed 's/.*Collected/instructions (Ir)/'
echo "profile: $out"
