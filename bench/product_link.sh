#!/usr/bin/env bash
# Followed product link: the real client (read-only check + count report + product page) against
# the same two requests by curl plus one page load in a bare web view, side by side in one run.
# Usage: bench/product_link.sh [runs]   (after scripts/build; KELVRA_BENCH_BIN=<build>/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/headless-env
bin="${KELVRA_BENCH_BIN:-build/bin}"
exec "$bin/product_link_qtbench" "${1:-9}"
