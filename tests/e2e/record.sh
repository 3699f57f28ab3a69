#!/usr/bin/env bash
# End-to-end: the record, against tocd, with a second client talking in the room.
#
#   record.sh headless TARNWICK TOCD TOCPROBE OUTDIR   without a display: what was said, whispered and
#       written comes out of --transcript, --report says 100% while Tarnwick is in the room (both
#       while it runs), and a server restart shows as one gap, "connection lost"
#   record.sh window   TARNWICK TOCD TOCPROBE OUTDIR   under Xvfb with a tray: the tray menu's "Rooms"
#       with the unread lines, the room window from a double click, a line said there kept once (the
#       server's echo), the Messages and Presence windows; screenshots of each
#
# Waits are divided by 20. Screenshots and logs stay in OUTDIR/record-<mode>/.
set -euo pipefail

mode=$1 tarnwick=$2 tocd=$3 tocprobe=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

use_folder "$5/record-$mode"
unset QT_QPA_PLATFORM
[ "$mode" = window ] || unset DISPLAY

fail() {
    echo "e2e (record $mode): $*" >&2
    [ -n "${DISPLAY:-}" ] && import -window root "$out/failure.png" 2>/dev/null || true
    for f in "$out"/*.out "$out"/*.err; do echo "--- $f:" >&2; cat "$f" >&2; done
    exit 1
}
trap stop_all EXIT

name="Tarn Wick" password='rec0rd!' room="Tarnwick Lounge"
said() { grep -qFx -- "$1" "$out/tarnwick.out"; }
expect() { wait_until 15 said "$1" || fail "tarnwick never said \"$1\""; }
# The transcript of the room without its times (they must be there: one ISO 8601 time per line).
transcript() {
    "$tarnwick" --transcript "$room:5" >"$out/transcript.txt" 2>"$out/transcript.err" || return 1
    grep -qvE '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2} ' "$out/transcript.txt" && return 1
    cut -d' ' -f2- "$out/transcript.txt"
}
transcript_is() { [ "$(transcript)" = "$1" ]; }
report_has() { "$tarnwick" --report >"$out/report.txt" 2>"$out/report.err" && grep -qE -- "$1" "$out/report.txt"; }
# Someone else talks in the room: enters, says a line, whispers, writes to Tarnwick, leaves.
talk() {
    "$tocprobe" 127.0.0.1 "$tocd_port" "Some Body" "b0dy" room "$room" 5 "hello there" \
        "whisper:$name:psst, only you" "im:$name:are you there?" >"$out/probe.out" 2>"$out/probe.err" ||
        fail "the second client failed"
    grep -qx done "$out/probe.out" || fail "the second client did not finish"
}
talked="* Some Body entered
Some Body: hello there
Some Body (whisper): psst, only you
* Some Body left"

# Nothing kept yet: both options say so and exit 1.
rc=0
"$tarnwick" --report >"$out/none.out" 2>"$out/none.err" || rc=$?
[ "$rc" -eq 1 ] && grep -q "there is no transcript yet" "$out/none.err" || fail "--report without a record: exit $rc"

start_tocd "$out" "$tocd" 127.0.0.1:0 "$name:$password" "Some Body:b0dy" || fail "tocd did not start"

if [ "$mode" = headless ]; then
    printf '%s\n' "$password" >"$out/password"
    chmod 600 "$out/password"
    start_bg "$out/tarnwick.out" "$out/tarnwick.err" "$tarnwick" --no-window --server "127.0.0.1:$tocd_port" \
        --screen-name "$name" --password-file "$out/password" --join "$room:5" --retry-scale 20
    session=$last_pid
    expect "log: Joined chatroom $room:5"
    talk
    # Written within a second; read by another copy while this one runs.
    wait_until 10 transcript_is "$talked" || fail "the transcript is not what was said: $(transcript)"
    report_has "^$room:5 present 100\.0% since .*; 0 gaps, longest 0 s$" ||
        fail "the report does not say 100%: $(cat "$out/report.txt" "$out/report.err")"

    # The server goes away and comes back on the same port: one gap, and why.
    kill "$tocd_pid"
    wait "$tocd_pid" 2>/dev/null || true
    expect "log: Connection to server lost."
    sleep 1
    start_tocd "$out" "$tocd" "127.0.0.1:$tocd_port" "$name:$password" || fail "tocd did not start again"
    expect "log: Rejoined chatroom $room:5."
    wait_until 10 report_has "; 1 gaps, longest [0-9]+ s$" ||
        fail "the report does not show one gap: $(cat "$out/report.txt" "$out/report.err")"
    grep -qE "^  gap [0-9T:-]+\.\.[0-9T:-]+ \([0-9]+ s\): connection lost$" "$out/report.txt" ||
        fail "the gap does not say why: $(cat "$out/report.txt")"
    [ "$(grep -c '^  gap ' "$out/report.txt")" -eq 1 ] || fail "more than one gap: $(cat "$out/report.txt")"
    ! grep -q "present 100\.0%" "$out/report.txt" || fail "a gap and still 100%"
    kill -TERM "$session"
    wait "$session" || fail "SIGTERM did not end the session with 0"
    echo "e2e (record headless): passed; logs in $out"
    exit 0
fi

# With a window, signed on and in the room through the boxes.
shots=$out
start_xvfb "$out" || fail "no X server"
start_trayer "$out" || fail "no tray host"
start_bg "$out/tarnwick.out" "$out/tarnwick.err" "$tarnwick" --server "127.0.0.1:$tocd_port" --echo --retry-scale 20
wait_until 20 find_main_window || fail "the window did not appear"
sign_on_typed "$name" "$password"
expect "status: Connected"
retype_twips "${TW_ROOM[@]}" "$room"
xdotool key Return
expect "log: Joined chatroom $room:5"
talk
wait_until 10 transcript_is "$talked" || fail "the transcript is not what was said: $(transcript)"

# The tray menu's Rooms (its eighth item, after the server and Start at login), with the room's unread lines.
wait_until 10 find_tray_icon || fail "no tray icon"
click_center "$tray_icon" 3
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Right
sleep 0.5
import -window root "$shots/record-rooms-menu.png"
xdotool key Escape Escape
sleep 0.3

# The room's window from a double click on its row; a line said there.
click_twips "${TW_FIRST_ROOM[@]}"
sleep 0.5 # apart from the double click that follows
xdotool click --repeat 2 --delay 80 1
wait_until 10 sh -c "xdotool search --onlyvisible --name '^$room:5\$' | grep -q ." || fail "no room window"
room_window=$(xdotool search --onlyvisible --name "^$room:5\$" | head -n1)
window_geometry "$room_window"
click_at $((win_x + 100)) $((win_y + win_h - 22)) # into the line to say something
type_text "hi from Tarnwick"
xdotool key Return
wait_until 10 transcript_is "$talked
$name: hi from Tarnwick" || fail "the line said is not in the transcript once: $(transcript)"
sleep 3.5 # past the wait for an echo: the line sent is not kept a second time
transcript_is "$talked
$name: hi from Tarnwick" || fail "the line said is kept twice: $(transcript)"
import -window "$room_window" "$shots/record-room-window.png"

# Messages and Presence from the tray menu (its ninth and tenth items).
click_center "$tray_icon" 3
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Down Return
wait_until 10 sh -c "xdotool search --onlyvisible --name '^Messages\$' | grep -q ." || fail "no Messages window"
sleep 0.5
import -window "$(xdotool search --onlyvisible --name '^Messages$' | head -n1)" "$shots/record-messages-window.png"
click_center "$tray_icon" 3
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Down Down Return
wait_until 10 sh -c "xdotool search --onlyvisible --name '^Presence\$' | grep -q ." || fail "no Presence window"
sleep 0.5
import -window "$(xdotool search --onlyvisible --name '^Presence$' | head -n1)" "$shots/record-presence-window.png"
report_has "^$room:5 present 100\.0% since " || fail "the report does not say 100%: $(cat "$out/report.txt")"
echo "e2e (record window): passed; screenshots in $out"
