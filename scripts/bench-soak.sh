#!/usr/bin/env bash
# The soak's resident memory after warm-up: 1,200 room joins and 20,000 chat messages against tocd,
# printed after each of ten rounds; the last line gives the growth after the warm-up round.
#
#     bash scripts/bench-soak.sh [BUILD_DIR]      (default build/ci, built with the bench target)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
program=$build/bench/soak_memory
[ -x "$program" ] || { echo "missing $program: build first (cmake --build $build --target bench)" >&2; exit 1; }
report=$("$program")
echo "$report"
awk '/ \(warm-up\)/ { warm = $4 } /^ *[0-9]+ / { last = $4 }
     END { printf "after warm-up %d KiB, at the end %d KiB: growth %+d KiB\n", warm, last, last - warm }' <<<"$report"
