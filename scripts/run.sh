#!/usr/bin/env bash
# The main job: installs, builds, starts tocd (the bundled TOC2 server) on 127.0.0.1:5190 (a free port
# when that one is taken) with a demo account, and runs Tarnwick signed on to nothing yet, pointed at
# that server.
#
# With a display, Tarnwick opens there; tocd stops when the window is closed. Without one ($DISPLAY
# empty), the same runs under Xvfb with a tray host, a short scripted session types the screen name and
# password, clicks Connect, types a room and clicks Join Room with real input events, and a screenshot
# of the window is saved; its path is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh
bash scripts/build.sh

bin=$root/build/ci
out=$bin/main-job
name="Tarn Wick"
password="tarnwick"
room="Tarnwick Lounge"

# shellcheck source=../tests/e2e/xsession.sh
source "$root/tests/e2e/xsession.sh"
trap stop_all EXIT
mkdir -p "$out"
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$out/runtime}
# Settings and a transcript of its own, kept from one run of this script to the next (never the user's own).
export XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

# 5190 is the port TOC servers use; when something else has it, tocd takes a free one instead.
if ! start_tocd "$out" "$bin/tools/tocd/tarnwick-tocd" 127.0.0.1:5190 "$name:$password" 2>/dev/null; then
    echo "Port 5190 is in use: tocd takes a free port instead."
    start_tocd "$out" "$bin/tools/tocd/tarnwick-tocd" 127.0.0.1:0 "$name:$password" || { echo "tocd did not start" >&2; exit 1; }
fi
server=127.0.0.1:$tocd_port
echo "tocd is listening on $server (its log: $out/tocd.err)"
echo "Demo account: screen name \"$name\", password \"$password\""

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting Tarnwick; close its window to stop tocd."
    "$bin/app/tarnwick" --server "$server"
    exit 0
fi

echo "No display: running Tarnwick under Xvfb with a scripted session."
# The scripted session starts as a first run: nothing remembered from an earlier one.
rm -rf "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
fail() {
    echo "run.sh: $*" >&2
    import -window root "$out/failure.png" 2>/dev/null && echo "Screen at the failure: $out/failure.png" >&2
    exit 1
}
start_xvfb "$out" || fail "Xvfb did not start"
start_trayer "$out" || fail "trayer did not start"
start_bg "$out/tarnwick.out" "$out/tarnwick.err" "$bin/app/tarnwick" --server "$server" --echo
wait_until 20 find_main_window || fail "the window did not appear"
said() { grep -qFx -- "$1" "$out/tarnwick.out"; }

click_twips "${TW_SN[@]}"
type_text "$name"
click_twips "${TW_PW[@]}"
type_text "$password"
click_twips "${TW_CONNECT[@]}"
wait_until 15 said "status: Connected" || fail "Tarnwick did not sign on"
click_twips "${TW_ROOM[@]}"
type_text "$room"
click_twips "${TW_JOIN[@]}"
wait_until 15 said "log: Joined chatroom $room:5" || fail "Tarnwick did not join $room"
# Off the buttons, so the picture shows none of them hovered; the button repaints once it has seen the move.
xdotool mousemove --sync 0 0
sleep 0.3
import -window "$main_window" "$out/tarnwick.png"

echo
echo "What Tarnwick logged:"
sed -n 's/^log: /  /p' "$out/tarnwick.out"
echo "Screenshot of the window: $out/tarnwick.png"
