#!/usr/bin/env bash
# Resident memory of the client and all its child processes (the web engine's helpers):
#  1. the real program right after its main window is shown, and 5 s later with the web
#     engine warmed up in the background, before any page (the whole process tree);
#  2. the client in process: after start, after its first result page, after ten result pages.
# A bare Qt window is measured the same way as the baseline of 1.
# Usage: bench/memory.sh   (after scripts/build; KELVRA_BENCH_BIN=<build>/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/common.sh

start_sim

# Sum of VmRSS (KiB) of a process and all its descendants, and how many processes that is.
tree_rss() {
  local pids=("$1") all=() kib=0
  while [ ${#pids[@]} -gt 0 ]; do
    local next=()
    for p in "${pids[@]}"; do
      all+=("$p")
      mapfile -t kids < <(pgrep -P "$p" || true)
      next+=("${kids[@]}")
    done
    pids=("${next[@]}")
  done
  for p in "${all[@]}"; do
    # A process that is ending (a zombie) has no VmRSS line: it counts 0.
    kib=$((kib + $(awk 'BEGIN {v = 0} /^VmRSS:/ {v = $2} END {print v}' "/proc/$p/status" 2>/dev/null || echo 0)))
  done
  echo "$kib ${#all[@]}"
}

# The real client, kept running: its screenshot seam marks the end of the first show.
KELVRA_SERVICE_URL="http://127.0.0.1:$port" KELVRA_DATA_DIR="$work/data" \
  KELVRA_SCREENSHOT="$work/shown.png" "$bin/kelvra" >/dev/null 2>&1 &
client_pid=$!
for _ in $(seq 300); do [ -e "$work/shown.png" ] && break; sleep 0.1; done
[ -e "$work/shown.png" ] || { echo "the client did not show its window" >&2; exit 1; }
sleep 0.2
read -r kib procs < <(tree_rss "$client_pid")
# Then with the engine warmed up (it starts in the background after the first show).
sleep 5
read -r warm_kib warm_procs < <(tree_rss "$client_pid")
kill "$client_pid"; wait "$client_pid" 2>/dev/null || true; client_pid=

"$bin/bare_window_baseline" --stay >/dev/null 2>&1 &
bare_pid=$!
sleep 1.5
read -r bare_kib _ < <(tree_rss "$bare_pid")
kill "$bare_pid"; wait "$bare_pid" 2>/dev/null || true

awk -v k="$kib" -v n="$procs" -v w="$warm_kib" -v wn="$warm_procs" -v b="$bare_kib" 'BEGIN {
  printf "kelvra right after start (engine not yet warm), before any page: %.1f MiB in %d process(es)\n", k / 1024, n
  printf "kelvra 5 s after start, engine warm, before any page: %.1f MiB in %d process(es)\n", w / 1024, wn
  printf "bare Qt window: %.1f MiB; ratio %.2f\n", b / 1024, k / b }'
echo "in process (the client harness):"
"$bin/memory_qtbench"
