#!/usr/bin/env bash
# Start-up of tarnwick next to the smallest Qt window built in the same tree: ten runs of each, from
# process start to the first painted window, and peak memory; prints the medians and the ratios.
# Runs under its own Xvfb (the offscreen platform when Xvfb is missing).
#
#     bash scripts/bench-startup.sh [BUILD_DIR]      (default build/ci, built with the bench target)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
probe=$build/bench/startup_probe
for program in "$probe" "$build/app/tarnwick" "$build/bench/minimal_window"; do
    [ -x "$program" ] || { echo "missing $program: build first (cmake --build $build --target bench)" >&2; exit 1; }
done

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
# Settings and data of its own (none): every run starts as a first run.
export XDG_CONFIG_HOME=$(mktemp -d) XDG_DATA_HOME=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
xvfb_pid=
cleanup() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if command -v Xvfb >/dev/null; then
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
    display=$(head -n1 "$display_file")
    rm -f "$display_file"
    [ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$display QT_QPA_PLATFORM=xcb
    platform="Xvfb :$display"
else
    export QT_QPA_PLATFORM=offscreen
    platform=offscreen
fi

# median of the numbers on standard input
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

measure() { # name program -> "name median_ms median_kib"
    local name=$1 runs
    shift
    "$probe" "$@" >/dev/null 2>&1 || true # warms the file cache
    runs=$(for _ in $(seq 10); do "$probe" "$@" 2>/dev/null; done)
    [ "$(wc -l <<<"$runs")" -eq 10 ] || { echo "$name: not every run reported its first paint" >&2; exit 1; }
    echo "$name $(cut -d' ' -f1 <<<"$runs" | median) $(cut -d' ' -f2 <<<"$runs" | median)"
}

echo "start-up to first paint, median of 10 runs ($platform)"
read -r _ tw_ms tw_kib < <(measure tarnwick "$build/app/tarnwick" --exit-after-first-paint)
read -r _ mw_ms mw_kib < <(measure minimal_window "$build/bench/minimal_window")
printf '%-16s %9s ms %9s KiB peak\n' tarnwick "$tw_ms" "$tw_kib" minimal_window "$mw_ms" "$mw_kib"
awk -v a="$tw_ms" -v b="$mw_ms" -v c="$tw_kib" -v d="$mw_kib" \
    'BEGIN { printf "ratio            %9.2f x  %9.2f x\n", a / b, c / d }'
