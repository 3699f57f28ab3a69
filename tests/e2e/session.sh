#!/usr/bin/env bash
# End-to-end: the real program under Xvfb, driven with real keystrokes and clicks, against tocd.
#
#   session.sh tray   TARNWICK TOCD TOCPROBE OUTDIR   sign on, check the profile, join and leave a room,
#                                                     hide to the tray and come back, disconnect; the
#                                                     window comes back when the tray goes away
#   session.sh notray TARNWICK TOCD TOCPROBE OUTDIR   no tray host: minimising leaves the window reachable
#
# Screenshots and logs stay in OUTDIR/<mode>/.
set -euo pipefail

mode=$1 tarnwick=$2 tocd=$3 tocprobe=$4
out=$5/$mode
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

missing=()
for tool in Xvfb xdotool xprop xwininfo xdpyinfo import trayer twm; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
[ ${#missing[@]} -eq 0 ] || { echo "e2e ($mode): missing programs: ${missing[*]} (run scripts/install-deps.sh)" >&2; exit 1; }

use_folder "$out"
unset QT_QPA_PLATFORM

fail() {
    echo "e2e ($mode): $*" >&2
    [ -n "${DISPLAY:-}" ] && import -window root "$out/failure.png" 2>/dev/null || true
    echo "--- tarnwick output:" >&2; cat "$out/tarnwick.out" "$out/tarnwick.err" >&2 2>/dev/null || true
    echo "--- tocd log:" >&2; cat "$out/tocd.err" >&2 2>/dev/null || true
    exit 1
}
trap stop_all EXIT

shot() { import -window root "$out/$1.png"; }
echoed() { grep -qFx -- "$1" "$out/tarnwick.out"; }
expect_echo() { wait_until 15 echoed "$1" || fail "tarnwick never printed \"$1\""; }

start_xvfb "$out" || fail "no X server"
if [ "$mode" = tray ]; then
    start_trayer "$out" || fail "no tray host: $(cat "$out/trayer.log")"
    trayer_pid=$last_pid
else
    start_twm "$out"
fi
start_tocd "$out" "$tocd" 127.0.0.1:0 "Tarn Wick:tarnwick" "Probe:probe" || fail "tocd did not start"
start_bg "$out/tarnwick.out" "$out/tarnwick.err" "$tarnwick" --server "127.0.0.1:$tocd_port" --echo
wait_until 20 find_main_window || fail "the window did not appear"

if [ "$mode" = notray ]; then
    wait_until 10 wm_state_is "$main_window" Normal || fail "the window manager did not take the window"
    shot 01-shown
    # The window manager's minimise: the window becomes an icon of the window manager.
    xdotool windowminimize "$main_window"
    wait_until 10 wm_state_is "$main_window" Iconic || fail "the window was not minimised"
    # Without a tray the program must not withdraw the window: it would be lost for good. Give the
    # program time to react, then check that the window manager still holds it as an icon.
    sleep 1
    wm_state_is "$main_window" Iconic || fail "the minimised window was withdrawn although no tray exists"
    icon=$(xprop -id "$main_window" WM_STATE | awk '/icon window/ {print $3}')
    [ -n "$icon" ] && [ "$icon" != 0x0 ] || fail "the window manager shows no icon for the window"
    shot 02-minimised
    click_center "$icon"
    wait_until 10 map_state_is "$main_window" IsViewable || fail "a click on the icon did not bring the window back"
    wm_state_is "$main_window" Normal || fail "the restored window is not in its normal state"
    shot 03-restored
    echo "e2e ($mode): passed; screenshots in $out"
    exit 0
fi

# Sign on.
click_twips "${TW_SN[@]}"
type_text "Tarn Wick"
click_twips "${TW_PW[@]}"
type_text "tarnwick"
shot 01-typed
click_twips "${TW_CONNECT[@]}"
expect_echo "log: Connected to server."
expect_echo "status: Connected"
shot 02-connected

# The server holds the profile the window set on sign-on.
profile=$("$tocprobe" 127.0.0.1 "$tocd_port" Probe probe "Tarn Wick") || fail "tocprobe could not read the profile"
expected='<BODY BGCOLOR=#A1BF9B><FONT FACE=TAHOMA>Tarnwick<SUP>1.0</SUP>'
[ "$profile" = "$expected" ] || fail "profile on the server is \"$profile\", not \"$expected\""

# Join a room: the list shows the server's name and id.
click_twips "${TW_ROOM[@]}"
type_text "Tarnwick Lounge"
click_twips "${TW_JOIN[@]}"
expect_echo "log: Joined chatroom Tarnwick Lounge:5"
wait_until 10 grep -q 'joined room [0-9]* "Tarnwick Lounge"' "$out/tocd.err" || fail "tocd saw no join"
room_id=$(grep -m1 -o 'joined room [0-9]* "Tarnwick Lounge"' "$out/tocd.err" | awk '{print $3}')
expect_echo "rooms: Tarnwick Lounge:$room_id"
shot 03-joined

# Leave Selected: the entry goes, and the server is told the room's id.
click_twips "${TW_FIRST_ROOM[@]}"
click_twips "${TW_LEAVE[@]}"
expect_echo "log: Left chatroom Tarnwick Lounge"
expect_echo "rooms: "
wait_until 10 grep -q "left room $room_id\$" "$out/tocd.err" || fail "tocd was not asked to leave room $room_id"
shot 04-left

# To the tray and back, with clicks on the icon.
wait_until 10 find_tray_icon || fail "no tray icon"
click_center "$tray_icon"
wait_until 10 map_state_is "$main_window" IsUnMapped || fail "a click on the tray icon did not hide the window"
shot 05-in-tray
click_center "$tray_icon"
wait_until 10 map_state_is "$main_window" IsViewable || fail "a second click on the tray icon did not bring the window back"
shot 06-back

# Disconnect.
click_twips "${TW_DISCONNECT[@]}"
expect_echo "log: Disconnected from server."
expect_echo "status: Disconnected"
shot 07-disconnected

# The tray goes away while the window is hidden in it: the window comes back.
click_center "$tray_icon"
wait_until 10 map_state_is "$main_window" IsUnMapped || fail "a click on the tray icon did not hide the window"
kill "$trayer_pid"
wait_until 10 map_state_is "$main_window" IsViewable || fail "the window stayed hidden after the tray went away"
shot 08-tray-gone
echo "e2e ($mode): passed; screenshots in $out"
