#!/usr/bin/env bash
# Whole-process start-up benchmark: client start until its main window has been shown (probe,
# list loads and texts done), against a baseline of a bare Qt window plus curl of the same
# requests, measured side by side in one run against the stand-in on loopback.
# Two figures per side: until the window is shown (the program reports the moment; the
# figure the goal is about), and until the process has ended (adds the program's exit).
# Usage: bench/startup.sh [runs]   (after scripts/build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-9}"
source bench/common.sh

start_sim
export KELVRA_SERVICE_URL="$root" KELVRA_DATA_DIR="$work/data" KELVRA_EXIT_AFTER_SHOW=1

now_ms() { date +%s%3N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Prints "<to shown> <to process end>" in milliseconds.
client_once() {
  local t0 t1 shown; t0=$(now_ms)
  shown=$("$bin/kelvra" 2>/dev/null | awk '$1 == "shown" {print $2}')
  t1=$(now_ms); echo "$((shown - t0)) $((t1 - t0))"
}
baseline_once() {
  local t0 t1 t2 t3 shown; t0=$(now_ms)
  shown=$("$bin/bare_window_baseline" 2>/dev/null | awk '$1 == "shown" {print $2}')
  t1=$(now_ms)
  curl -s -o /dev/null "$root/cn/" \
       -o /dev/null "$root/kelvra_cd/xml/get_brand.asp" \
       -o /dev/null "$root/kelvra_cd/xml/get_brand_kelvra.asp" \
       -o /dev/null "$root/kelvra_cd/xml/get_engine_brand_yorx.asp" \
       -o /dev/null "$root/kelvra_cd/xml/get_engine_brand_kelvra.asp"
  t2=$(now_ms); echo "$((shown - t0 + t2 - t1)) $((t2 - t0))"
}

client_once >/dev/null; baseline_once >/dev/null # warm the page cache
c=(); b=(); ce=(); be=()
for _ in $(seq "$runs"); do
  read -r s e < <(client_once); c+=("$s"); ce+=("$e")
  read -r s e < <(baseline_once); b+=("$s"); be+=("$e")
done
med() { printf '%s\n' "$@" | median; }
cm=$(med "${c[@]}"); bm=$(med "${b[@]}"); cem=$(med "${ce[@]}"); bem=$(med "${be[@]}")
echo "runs: $runs (interleaved), median wall time"
echo "client start to main window shown: ${cm} ms (to process end: ${cem} ms)"
echo "baseline, bare Qt window shown + curl of the same 5 requests: ${bm} ms (to process end: ${bem} ms)"
awk -v c="$cm" -v b="$bm" -v ce="$cem" -v be="$bem" \
  'BEGIN {printf "ratio client / baseline: %.2f to shown, %.2f to process end\n", c / b, ce / be}'
