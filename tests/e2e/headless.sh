#!/usr/bin/env bash
# End-to-end without a display: tarnwick --no-window against tocd.
#
#   headless.sh TARNWICK TOCD STALLPROXY OUTDIR
#
# --help and --version; a password file others may read is refused; rooms from --join are joined;
# SIGTERM signs off and exits 0; a link that stops carrying anything (through stallproxy) is noticed
# within the shortened limit and the session comes back. Logs stay in OUTDIR/headless/.
set -euo pipefail

tarnwick=$1 tocd=$2 stallproxy=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

use_folder "$4/headless"
unset DISPLAY QT_QPA_PLATFORM

fail() {
    echo "e2e (headless): $*" >&2
    for f in "$out"/*.out "$out"/*.err; do echo "--- $f:" >&2; cat "$f" >&2; done
    exit 1
}
trap stop_all EXIT
said() { grep -qFx -- "$2" "$out/$1"; }
expect() { wait_until 15 said "$1" "$2" || fail "$1 never said \"$2\""; }

# Help and the version need no display either.
"$tarnwick" --help >"$out/help.out" 2>&1 || fail "--help failed without a display"
grep -q -- "--retry-scale" "$out/help.out" || fail "--help does not list --retry-scale"
[ "$("$tarnwick" --version 2>&1)" = "Tarnwick 1.0" ] || fail "--version failed without a display"
rc=0
"$tarnwick" --bogus >"$out/bogus.out" 2>&1 || rc=$?
[ "$rc" -eq 2 ] && grep -q "Unknown option 'bogus'" "$out/bogus.out" || fail "a wrong option without a display gave $rc"

name="Tarn Wick" password='pr3sence!'
start_tocd "$out" "$tocd" 127.0.0.1:0 "$name:$password" || fail "tocd did not start"
printf '%s\n' "$password" >"$out/password"

# Anyone may read the file: refused before anything else happens.
chmod 644 "$out/password"
rc=0
"$tarnwick" --no-window --server "127.0.0.1:$tocd_port" --screen-name "$name" --password-file "$out/password" \
    >"$out/refused.out" 2>"$out/refused.err" || rc=$?
[ "$rc" -ne 0 ] || fail "a password file others may read was accepted"
grep -q "others may read the password file" "$out/refused.err" || fail "no word on why the password file was refused"
chmod 600 "$out/password"

# Rooms from --join; SIGTERM signs off and exits 0.
start_bg "$out/join.out" "$out/join.err" "$tarnwick" --no-window --server "127.0.0.1:$tocd_port" \
    --screen-name "$name" --password-file "$out/password" --join "Tarnwick Lounge:5" --join Den
session=$last_pid
expect join.out "status: Connected"
expect join.out "log: Joined chatroom Tarnwick Lounge:5"
expect join.out "log: Joined chatroom Den:4"
wait_until 10 grep -q 'joined room [0-9]* "Den"' "$out/tocd.err" || fail "tocd saw no join of Den"
kill -TERM "$session"
rc=0
wait "$session" || rc=$?
[ "$rc" -eq 0 ] || fail "SIGTERM ended tarnwick with $rc, not 0"
[ "$(tail -n 2 "$out/join.out")" = "$(printf 'log: Disconnected from server.\nstatus: Disconnected')" ] ||
    fail "tarnwick did not sign off on SIGTERM"
! grep -rqF -- "$password" "$out/join.out" "$XDG_CONFIG_HOME" 2>/dev/null || fail "the password was written out"

# A link that stops carrying anything: the waits divided by 30, 90 s of silence become 3 s.
start_bg "$out/proxy.out" "$out/proxy.err" "$stallproxy" 127.0.0.1 "$tocd_port"
proxy=$last_pid
wait_until 10 grep -q '^listening on ' "$out/proxy.out" || fail "stallproxy did not start"
proxy_port=$(sed -n 's/^listening on .*://p' "$out/proxy.out")
start_bg "$out/dead.out" "$out/dead.err" "$tarnwick" --no-window --server "127.0.0.1:$proxy_port" \
    --screen-name "$name" --password-file "$out/password" --retry-scale 30
expect dead.out "status: Connected"
kill -USR1 "$proxy"
expect dead.out "log: No answer from the server for 90 s."
expect dead.out "log: Connection to server lost."
wait_until 15 sh -c "[ \$(grep -cFx 'status: Connected' '$out/dead.out') -ge 2 ]" || fail "the session did not come back"
echo "e2e (headless): passed; logs in $out"
