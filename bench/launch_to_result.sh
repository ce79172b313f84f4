#!/usr/bin/env bash
# Launch to the first result page, for a user who searches at once: the client as the program
# wires it (first_search_appbench launch) is launched against the stand-in; as soon as its first
# show is done, a click into the OE field, an OE number and Enter; the figure is the time from
# the launch to WebBrowser1's document complete. Baseline, in the same run and interleaved: a bare
# Qt window holding a bare QWebEngineView that loads the same result page at its first show.
# Both also report the moment of the first show. One process per run.
# Usage: bench/launch_to_result.sh [runs]   (after scripts/build; KELVRA_BENCH_BIN=<build>/bin)
# KELVRA_BENCH_PLATFORM=xcb runs both in a real X server (xvfb-run, 1280x1024) instead of Qt's
# offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
source bench/common.sh
platform="${KELVRA_BENCH_PLATFORM:-offscreen}"

start_sim

# Runs a program and prints the launch moment (ms since 1970) followed by what the program printed.
launch() {
  local cmd='date +%s%3N; exec "$@"'
  if [ "$platform" = xcb ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1280x1024x24' sh -c "$cmd" sh "$@"
  else
    QT_QPA_PLATFORM="$platform" sh -c "$cmd" sh "$@"
  fi
}

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
page=""
for _ in $(seq "$runs"); do
  out=$(launch "$bin/first_search_appbench" launch 2>"$work/client.err") ||
    { cat "$work/client.err" >&2; exit 1; }
  read -r t0 shown done url <<<"$(echo $out)"
  echo "$((shown - t0)) $((done - shown)) $((done - t0))" >>"$work/client"
  page="$root/${url#http://*/}" # the same result page, from this run's stand-in
  out=$(launch "$bin/bare_engine_baseline" "$page" 2>"$work/bare.err") ||
    { cat "$work/bare.err" >&2; exit 1; }
  read -r t0 shown done <<<"$(echo $out)"
  echo "$((shown - t0)) $((done - shown)) $((done - t0))" >>"$work/bare"
done

echo "runs: $runs per side (interleaved), platform $platform, result page ${page#$root}"
for side in client bare; do
  awk '{print $1}' "$work/$side" | median >"$work/a"
  awk '{print $2}' "$work/$side" | median >"$work/b"
  awk '{print $3}' "$work/$side" | median >"$work/c"
  printf "%-6s launch to first show %s ms, first show to result page %s ms, launch to result page %s ms\n" \
    "$side:" "$(cat "$work/a")" "$(cat "$work/b")" "$(cat "$work/c")"
done
echo "(medians; bare: a Qt window with one QWebEngineView loading the same page)"
