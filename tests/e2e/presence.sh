#!/usr/bin/env bash
# End-to-end: staying present, through the real window under Xvfb (with a tray) against tocd.
#
#   presence.sh TARNWICK TOCD OUTDIR
#
# Sign on and join two rooms (and leave a third); tocd stops and starts again on the same port: the
# window signs on again and is in both rooms, each listed once with its new id. Leave leaves nothing selected.
# Without a keychain, "Remember password" says the password is kept for this run only. Disconnect:
# no retry. A wrong password: no retry. Then a second run, without a window, reads the settings the
# first one left (and no password is in any file under them) and rejoins the remembered room.
# Waits are divided by 20. Screenshots and logs stay in OUTDIR/presence/.
set -euo pipefail

tarnwick=$1 tocd=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

use_folder "$3/presence"
unset QT_QPA_PLATFORM

fail() {
    echo "e2e (presence): $*" >&2
    [ -n "${DISPLAY:-}" ] && import -window root "$out/failure.png" 2>/dev/null || true
    for f in "$out"/*.out "$out"/*.err "$out"/*/tocd.err; do echo "--- $f:" >&2; cat "$f" >&2; done
    exit 1
}
trap stop_all EXIT

shot() { import -window root "$out/$1.png"; }
echoed() { grep -qFx -- "$1" "$out/tarnwick.out"; }
expect_echo() { wait_until 15 echoed "$1" || fail "tarnwick never printed \"$1\""; }
count() { grep -cFx -- "$1" "$out/tarnwick.out" || true; }
expect_count() { wait_until 15 sh -c "[ \$(grep -cFx -- '$1' '$out/tarnwick.out') -ge $2 ]" ||
    fail "tarnwick printed \"$1\" fewer than $2 times"; }
# The id tocd gave a room, from the newest log line that names it.
room_id() { grep -o "joined room [0-9]* \"$2\"" "$1" | tail -n1 | awk '{print $3}'; }

name="Tarn Wick" password='pr3sence!'
start_xvfb "$out" || fail "no X server"
start_trayer "$out" || fail "no tray host"
mkdir -p "$out/first" "$out/second"
start_tocd "$out/first" "$tocd" 127.0.0.1:0 "$name:$password" || fail "tocd did not start"
first_tocd=$tocd_pid
start_bg "$out/tarnwick.out" "$out/tarnwick.err" "$tarnwick" --server "127.0.0.1:$tocd_port" --echo --retry-scale 20
window_pid=$last_pid
wait_until 20 find_main_window || fail "the window did not appear"

# Sign on, and join two rooms.
sign_on_typed "$name" "$password"
expect_echo "status: Connected"
retype_twips "${TW_ROOM[@]}" "Tarnwick Lounge"
xdotool key Return
expect_echo "log: Joined chatroom Tarnwick Lounge:5"
# A room between them, left again, so that Den's id differs once tocd numbers the rooms anew.
for room in Attic Den; do
    retype_twips "${TW_ROOM[@]}" "$room"
    click_twips "${TW_JOIN[@]}"
    expect_echo "log: Joined chatroom $room:5"
done
click_twips "${TW_FIRST_ROOM[@]}"
xdotool key Down
click_twips "${TW_LEAVE[@]}"
expect_echo "log: Left chatroom Attic"
expect_echo "rooms: Tarnwick Lounge:$(room_id "$out/first/tocd.err" "Tarnwick Lounge") | Den:$(room_id "$out/first/tocd.err" Den)"

# The tray menu, from a right click on the icon; "Remember password" without a keychain.
wait_until 10 find_tray_icon || fail "no tray icon"
click_center "$tray_icon" 3
sleep 0.5
shot 01-tray-menu
xdotool key Down Down Down Down Down Return
expect_echo "log: No keychain available: the password is kept for this run only."

# tocd goes away and comes back on the same port.
kill "$first_tocd"
expect_echo "log: Connection to server lost."
expect_echo "status: Reconnecting"
start_tocd "$out/second" "$tocd" "127.0.0.1:$tocd_port" "$name:$password" || fail "tocd did not start again"
expect_count "status: Connected" 2
expect_echo "log: Rejoined chatroom Tarnwick Lounge:5."
expect_echo "log: Rejoined chatroom Den:5."
lounge=$(room_id "$out/second/tocd.err" "Tarnwick Lounge")
den=$(room_id "$out/second/tocd.err" Den)
[ -n "$lounge" ] && [ -n "$den" ] || fail "the second tocd did not see both joins"
! grep -q '"Attic"' "$out/second/tocd.err" || fail "a room that was left was rejoined"
[ "$den" != "$(room_id "$out/first/tocd.err" Den)" ] || fail "Den has the same id on both servers: nothing to check"
expect_echo "rooms: Tarnwick Lounge:$lounge | Den:$den"
shot 02-rejoined

# Leave the first room: nothing is selected afterwards, so a second click leaves nothing.
click_twips "${TW_FIRST_ROOM[@]}"
click_twips "${TW_LEAVE[@]}"
expect_echo "log: Left chatroom Tarnwick Lounge"
expect_echo "rooms: Den:$den"
xdotool mousemove --sync 0 0
sleep 0.3
shot 03-after-leave
click_twips "${TW_LEAVE[@]}"
sleep 0.5
[ "$(count "log: Left chatroom Den")" -eq 0 ] || fail "a second Leave left a room nobody picked"

# Disconnect: no retry. (The waits are divided by 20: a retry would come after 0.1 s.)
click_twips "${TW_DISCONNECT[@]}"
expect_echo "log: Disconnected from server."
sleep 1
[ "$(tail -n1 "$out/tarnwick.out")" = "status: Disconnected" ] || fail "something happened after Disconnect"

# A wrong password: the server's error, and no retry.
retype_twips "${TW_PW[@]}" "wrong"
click_twips "${TW_CONNECT[@]}"
expect_echo "log: Error 980: Incorrect screen name or password."
sleep 1
[ "$(grep -c 'connected from' "$out/second/tocd.err")" -eq 2 ] || fail "tarnwick tried the wrong password again"
! tail -n3 "$out/tarnwick.out" | grep -q Reconnecting || fail "tarnwick plans to retry a wrong password"
shot 04-wrong-password

# A second start with the same settings, while the window is hidden in the tray: the running copy's
# window comes back, and the second exits 0 at once.
click_center "$tray_icon"
wait_until 10 map_state_is "$main_window" IsUnMapped || fail "a click on the tray icon did not hide the window"
rc=0
timeout 20 "$tarnwick" --server "127.0.0.1:$tocd_port" >"$out/second.out" 2>"$out/second.err" || rc=$?
[ "$rc" -eq 0 ] || fail "a second start exited $rc, not 0"
wait_until 10 map_state_is "$main_window" IsViewable || fail "a second start did not bring the window back"
[ "$(xdotool search --name '^Tarnwick$' | wc -l)" -le 2 ] || fail "a second window appeared"
shot 05-second-start

# Quit from the menu on the logo (its last item): the settings are written.
click_twips "${TW_LOGO[@]}" 3
sleep 0.5
shot 06-logo-menu
xdotool key Up Return
wait_until 10 sh -c "! kill -0 $window_pid 2>/dev/null" || fail "Quit did not end the program"
wait "$window_pid" || fail "the program did not exit 0 after Quit"
settings=$XDG_CONFIG_HOME/Tarnwick/Tarnwick.ini
wait_until 10 test -s "$settings" || fail "no settings written"
grep -qx "ScreenName=Tarn Wick" "$settings" || fail "the screen name is not remembered"
! grep -rqF -- "$password" "$XDG_CONFIG_HOME" || fail "the password is in a file under the settings folder"

# SIGTERM ends the window as Quit does: exit 0.
start_bg "$out/term.out" "$out/term.err" "$tarnwick" --server "127.0.0.1:$tocd_port"
term_pid=$last_pid
wait_until 20 find_main_window || fail "the window did not appear again"
kill -TERM "$term_pid"
rc=0
wait "$term_pid" || rc=$?
[ "$rc" -eq 0 ] || fail "SIGTERM ended the window with $rc, not 0"

# The second run, without a window, takes the name and the room from the settings.
printf '%s\n' "$password" >"$out/password"
chmod 600 "$out/password"
start_bg "$out/again.out" "$out/again.err" "$tarnwick" --no-window --server "127.0.0.1:$tocd_port" \
    --password-file "$out/password"
again=$last_pid
wait_until 15 grep -qFx "log: Joined chatroom Den:5" "$out/again.out" || fail "the second run did not join Den"
kill -TERM "$again"
wait "$again" || fail "the second run did not exit 0 on SIGTERM"
echo "e2e (presence): passed; screenshots in $out"
