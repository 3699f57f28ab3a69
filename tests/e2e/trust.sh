#!/usr/bin/env bash
# End-to-end without a display: what people do to a running Tarnwick, against tocd through a proxy
# that plays the server's faults.
#
#   trust.sh TARNWICK TOCD STALLPROXY TOCPROBE OUTDIR
#
# A settings file with a comment is kept beside it before it is written; a second copy with the same
# settings exits 3; an ejection and a rejoin that gets no answer leave the rooms remembered, and the
# next sign-on brings both back; the screen name signed on elsewhere three times in a row ends the run
# (exit 1) instead of a fight. Waits are divided by 30 (a sign-on is young for 2 s). Logs stay in
# OUTDIR/trust/.
set -euo pipefail

tarnwick=$1 tocd=$2 stallproxy=$3 tocprobe=$4
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

use_folder "$5/trust"
unset DISPLAY QT_QPA_PLATFORM

fail() {
    echo "e2e (trust): $*" >&2
    for f in "$out"/*.out "$out"/*.err; do echo "--- $f:" >&2; cat "$f" >&2; done
    exit 1
}
trap stop_all EXIT
said() { grep -qFx -- "$1" "$out/run.out"; }
expect() { wait_until 15 said "$1" || fail "tarnwick never said \"$1\""; }
count() { grep -cFx -- "$1" "$out/run.out" || true; }
proxy_did() { wait_until 10 grep -qFx "stallproxy: done $1" "$out/proxy.err" || fail "the proxy did not $1"; }

name="Tarn Wick" password='tru5t!'
start_tocd "$out" "$tocd" 127.0.0.1:0 "$name:$password" || fail "tocd did not start"
mkfifo "$out/proxy.in"
exec 7<>"$out/proxy.in"
# Not through start_bg: a command started in the background reads /dev/null unless told otherwise.
"$stallproxy" 127.0.0.1 "$tocd_port" <&7 >"$out/proxy.out" 2>"$out/proxy.err" &
started_pids+=($!)
wait_until 10 grep -q '^listening on ' "$out/proxy.out" || fail "stallproxy did not start"
proxy_port=$(sed -n 's/^listening on .*://p' "$out/proxy.out")
proxy() { echo "$1" >&7; proxy_did "$1"; }

# Settings written by hand, with a comment QSettings would drop.
settings=$XDG_CONFIG_HOME/Tarnwick/Tarnwick.ini
mkdir -p "$(dirname "$settings")"
printf '; my rooms\n[General]\nScreenName=%s\n\n[Rooms]\n1\\Name=Lounge\n1\\Exchange=5\n2\\Name=Den\n2\\Exchange=4\nsize=2\n' \
    "$name" >"$settings"
cp "$settings" "$out/original.ini"
printf '%s\n' "$password" >"$out/password"
chmod 600 "$out/password"
run=(--no-window --server "127.0.0.1:$proxy_port" --password-file "$out/password" --retry-scale 30 --echo)
start_bg "$out/run.out" "$out/run.err" "$tarnwick" "${run[@]}"
session=$last_pid
expect "status: Connected"
expect "log: Joined chatroom Lounge:5"
expect "log: Joined chatroom Den:4"
grep -q "^log: Could not read all of the settings in $settings (comments); the file is kept as $settings.unreadable.$" \
    "$out/run.out" || fail "no word on the settings that could not be read"
cmp -s "$out/original.ini" "$settings.unreadable" || fail "the unreadable settings were not kept as they were"

# A second copy with the same settings: refused, and the first goes on.
rc=0
"$tarnwick" "${run[@]}" >"$out/second.out" 2>"$out/second.err" || rc=$?
[ "$rc" -eq 3 ] || fail "a second copy exited $rc, not 3"
grep -qFx "Tarnwick is already running with these settings (process $session)." "$out/second.err" ||
    fail "the second copy did not say which process runs"
kill -0 "$session" || fail "the first copy ended"

# The server puts Tarnwick out of Den: the row goes, the room stays remembered.
proxy "eject Den"
expect "log: Left chatroom, ejected or error."
wait_until 10 sh -c "tail -n 3 '$out/run.out' | grep -q '^rooms: Lounge:[0-9]*$'" || fail "Den is still listed"

# The server restarts and brings no room back: both rejoins fail and both rooms stay remembered. (Each
# sign-on is let grow older than 2 s: a server that closes young sessions is taken for a push-out.)
proxy mute-joins
proxy drop
expect "log: Could not rejoin chatroom Lounge:5."
expect "log: Could not rejoin chatroom Den:4."
sleep 1.5
proxy unmute-joins
proxy drop
expect "log: Rejoined chatroom Lounge:5."
expect "log: Rejoined chatroom Den:4."
sleep 2.5
grep -q 'Name=Den$' "$settings" || fail "Den left the settings"

# The name signs on elsewhere, and that place pushes Tarnwick out again each time it is back. The first
# push ends a session that had lasted; after three sessions in a row cut short within a minute of
# their sign-on, Tarnwick stops and exits 1.
round=0
while ! said "status: Signed on elsewhere"; do
    round=$((round + 1))
    [ "$round" -le 4 ] || fail "tarnwick went on signing on after $((round - 1)) push-outs"
    connected=$(count "status: Connected")
    start_bg "$out/probe$round.out" "$out/probe$round.err" "$tocprobe" 127.0.0.1 "$tocd_port" "$name" "$password" -
    wait_until 10 grep -qFx "signed on" "$out/probe$round.out" || fail "the other place did not sign on"
    wait_until 15 sh -c "grep -qFx 'status: Signed on elsewhere' '$out/run.out' ||
        [ \$(grep -cFx 'status: Connected' '$out/run.out') -gt $connected ]" || fail "tarnwick did not come back"
done
[ "$round" -eq 4 ] || fail "tarnwick stopped after $round push-outs, not 4"
expect "log: Signed off three times within a minute of signing on: the screen name is probably signed on elsewhere. Not reconnecting; press Connect to sign on here again."
rc=0
wait "$session" || rc=$?
[ "$rc" -eq 1 ] || fail "signed on elsewhere ended tarnwick with $rc, not 1"
grep -q 'Name=Lounge$' "$settings" && grep -q 'Name=Den$' "$settings" || fail "the rooms left the settings"
echo "e2e (trust): passed; logs in $out"
