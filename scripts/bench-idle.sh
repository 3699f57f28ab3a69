#!/usr/bin/env bash
# How often an idle window-less session wakes: tarnwick --no-window signed on to tocd and in one room,
# left alone for 60 s; prints its voluntary context switches over that time (each is one wake-up of
# the process), next to what its own timers account for (the keep-alive and the liveness question,
# each once a minute).
#
#     bash scripts/bench-idle.sh [BUILD_DIR] [SECONDS]      (default build/ci, 60)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/ci}
seconds=${2:-60}
for program in "$build/app/tarnwick" "$build/tools/tocd/tarnwick-tocd"; do
    [ -x "$program" ] || { echo "missing $program: build first" >&2; exit 1; }
done
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_RUNTIME_DIR=$work/runtime
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

"$build/tools/tocd/tarnwick-tocd" --listen 127.0.0.1:0 --account "Tarn Wick:idle" --quiet >"$work/tocd.out" &
pids+=($!)
for _ in $(seq 50); do grep -q '^listening on ' "$work/tocd.out" && break; sleep 0.1; done
port=$(sed -n 's/^listening on .*://p' "$work/tocd.out")
echo idle >"$work/password"
chmod 600 "$work/password"
"$build/app/tarnwick" --no-window --server "127.0.0.1:$port" --screen-name "Tarn Wick" \
    --password-file "$work/password" --join Lounge >"$work/tarnwick.out" &
pid=$!
pids+=("$pid")
for _ in $(seq 50); do grep -q '^log: Joined chatroom' "$work/tarnwick.out" && break; sleep 0.1; done
sleep 2
switches() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$pid/status"; }
before=$(switches)
sleep "$seconds"
after=$(switches)
awk -v n=$((after - before)) -v s="$seconds" 'BEGIN {
    printf "idle --no-window session, %d s: %d wake-ups (%.2f a second); its own timers: about %d\n", s, n, n / s, 2 * s / 60
}'
