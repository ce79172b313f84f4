#!/usr/bin/env bash
# First search against the later ones: the client started against the stand-in, then, after a
# wait (3 s), four OE searches typed into the OE field and sent with Enter, each timed from Enter
# to WebBrowser1's document complete. Runs the client with the engine warmed after the first
# show (as the program does) and without (cold), interleaved, one process per run.
# Usage: bench/first_search.sh [runs] [wait ms]   (after scripts/build; KELVRA_BENCH_BIN=<build>/bin)
# KELVRA_BENCH_PLATFORM=xcb runs the client in a real X server (xvfb-run, 1280x1024) instead of
# Qt's offscreen platform: the path of a desktop, where the engine's views are drawn with OpenGL.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
wait_ms="${2:-3000}"
source bench/common.sh
platform="${KELVRA_BENCH_PLATFORM:-offscreen}"

run() {
  if [ "$platform" = xcb ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' "$bin/first_search_appbench" "$@"
  else
    QT_QPA_PLATFORM="$platform" "$bin/first_search_appbench" "$@"
  fi
}

for _ in $(seq "$runs"); do
  for mode in cold warm; do
    run "$mode" "$wait_ms" >>"$work/$mode" 2>"$work/$mode.err" ||
      { cat "$work/$mode.err" >&2; exit 1; }
  done
done

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "runs: $runs per mode (interleaved), searches 4 per run, first search ${wait_ms} ms after the first show, platform $platform"
for mode in cold warm; do
  first=$(awk '{print $1}' "$work/$mode" | median)
  later=$(awk '{print $2; print $3; print $4}' "$work/$mode" | median)
  helpers=$(awk '{print $5}' "$work/$mode" | median)
  hold=$(awk '{print $6}' "$work/$mode" | median)
  first_announced=$(awk '{print $7}' "$work/$mode" | median)
  later_announced=$(awk '{print $8; print $9; print $10}' "$work/$mode" | median)
  replaced=$(awk '{n += $11} END {print n}' "$work/$mode")
  awk -v m="$mode" -v f="$first" -v l="$later" -v h="$helpers" -v w="$hold" \
      -v fa="$first_announced" -v la="$later_announced" -v r="$replaced" -v n="$runs" 'BEGIN {
    printf "%s: first search %.1f ms, later searches %.1f ms, ratio %.2f; engine helper processes %d; longest hold of the interface before the first search %.0f ms\n",
           m, f, l, f / l, h, w
    printf "%s:   Enter to the announced navigation: first %.1f ms, later %.1f ms; main window replaced by the searches in %d of %d runs\n",
           m, fa, la, r, n }'
done
echo "(medians over the runs; the later searches pooled)"
