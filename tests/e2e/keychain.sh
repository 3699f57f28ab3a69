#!/usr/bin/env bash
# End-to-end: the program's keychain vault against a real gnome-keyring in a private session bus,
# its unlock prompt on Xvfb.
#
#   keychain.sh KEYCHAINPROBE TARNWICK TOCD OUTDIR
#
# Without a session bus the vault is unavailable. With the keyring: a password written is read back;
# with the keyring locked, a read waits for the unlock ("waiting for unlock"), the test types the
# keyring's password into the prompt, and the read answers. Then Tarnwick itself, against tocd: with
# "Remember password" on, the password typed once is in the keychain, and --connect signs on in the
# next run with nothing typed; with the keyring locked it says it waits, and signs on once the test
# has unlocked it; without a window it gives up after its limit ("The keychain is locked.", exit 1).
# The password is in no file of the run's home and XDG folders but the keyring's own encrypted one.
# Exits 77 (skipped) without the tools.
set -euo pipefail

probe=$1 tarnwick=$2 tocd=$3
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=xsession.sh
source "$here/xsession.sh"

account="Tarn Wick" password='k3ych@in secret' keyring_password=sesame

fail() {
    echo "e2e (keychain): $*" >&2
    for f in "$out"/*.out "$out"/*.err; do [ -f "$f" ] && { echo "--- $f:" >&2; cat "$f" >&2; }; done
    exit 1
}
said() { grep -qFx -- "$2" "$out/$1"; }
expect() { wait_until 30 said "$1" "$2" || fail "$1 never said \"$2\""; }

if [ "${4:-}" != --inside ]; then
    for tool in gnome-keyring-daemon dbus-run-session Xvfb xdotool xdpyinfo gdbus; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (bash scripts/install-deps.sh installs it)"; exit 77; }
    done
    use_folder "$4/keychain"
    unset QT_QPA_PLATFORM
    export HOME=$out/home XDG_DATA_HOME=$out/home/.local/share XDG_CACHE_HOME=$out/home/.cache
    mkdir -p "$HOME"
    trap stop_all EXIT

    # No session bus: no keychain, said at once or after the limit.
    "$probe" read "$account" >"$out/nobus.out" 2>"$out/nobus.err" && fail "a read without a session bus succeeded"
    said nobus.out unavailable || fail "no \"unavailable\" without a session bus"

    # The keyring's prompt needs a display, which the bus passes on to the services it starts.
    start_xvfb "$out" || fail "Xvfb did not start"
    unset DBUS_SESSION_BUS_ADDRESS
    dbus-run-session -- bash "$0" "$probe" "$tarnwick" "$tocd" --inside "$out"
    exit 0
fi

# Inside the private session bus.
out=$5
trap stop_all EXIT
start_bg "$out/keyring.out" "$out/keyring.err" \
    bash -c 'printf %s "$1" | exec gnome-keyring-daemon --foreground --unlock --components=secrets' _ "$keyring_password"
login=/org/freedesktop/secrets/collection/login
collection_locked() {
    gdbus call --session --dest org.freedesktop.secrets --object-path "$login" \
        --method org.freedesktop.DBus.Properties.Get org.freedesktop.Secret.Collection Locked
}
# Asked of the bus, not of the service: a call to the service before it is there would have the
# bus start a second daemon, without the unlocked keyring.
secret_service_is_there() {
    [ "$(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.freedesktop.secrets)" = "(true,)" ]
}
wait_until 10 secret_service_is_there || fail "the keyring did not start"
[ "$(collection_locked)" = "(<false>,)" ] || fail "the keyring did not start unlocked"

"$probe" write "$account" "$password" >"$out/write.out" 2>"$out/write.err" || fail "the password was not written"
said write.out written || fail "the write did not answer \"written\""
"$probe" read "$account" >"$out/read.out" 2>"$out/read.err" || fail "the password was not read"
said read.out "read: $password" || fail "the password read back is not the one written"

# Locked: the read waits for the prompt instead of giving up, and answers once it is unlocked there.
gdbus call --session --dest org.freedesktop.secrets --object-path /org/freedesktop/secrets \
    --method org.freedesktop.Secret.Service.Lock "['$login']" >/dev/null
[ "$(collection_locked)" = "(<true>,)" ] || fail "the keyring did not lock"
start_bg "$out/locked.out" "$out/locked.err" "$probe" read "$account"
expect locked.out "waiting for unlock"
wait_until 10 sh -c 'xdotool search --onlyvisible --class gcr-prompter | grep -q .' || fail "no unlock prompt appeared"
xdotool type --delay 20 "$keyring_password"
xdotool key Return
expect locked.out "read: $password"
[ "$(grep -c . "$out/locked.out")" -eq 2 ] || fail "the locked read answered more than once"
[ "$(collection_locked)" = "(<false>,)" ] || fail "the keyring is still locked"
lock() {
    gdbus call --session --dest org.freedesktop.secrets --object-path /org/freedesktop/secrets \
        --method org.freedesktop.Secret.Service.Lock "['$login']" >/dev/null
    [ "$(collection_locked)" = "(<true>,)" ] || fail "the keyring did not lock"
}
unlock_in_prompt() {
    wait_until 10 sh -c 'xdotool search --onlyvisible --class gcr-prompter | grep -q .' || fail "no unlock prompt appeared"
    xdotool type --delay 20 "$keyring_password"
    xdotool key Return
}

# Tarnwick: the server and the choice to remember the password are in its settings.
start_tocd "$out" "$tocd" 127.0.0.1:0 "$account:$password" || fail "tocd did not start"
mkdir -p "$XDG_CONFIG_HOME/Tarnwick"
printf '[General]\nServer=127.0.0.1:%s\nScreenName=%s\nRememberPassword=true\n' "$tocd_port" "$account" \
    >"$XDG_CONFIG_HOME/Tarnwick/Tarnwick.ini"
run_window() { # NAME OPTIONS...: the window, echoing into NAME.out
    local name=$1
    shift
    start_bg "$out/$name.out" "$out/$name.err" "$tarnwick" --echo "$@"
    window_pid=$last_pid
    wait_until 20 find_main_window || fail "$name: the window did not appear"
}
end_window() {
    kill -TERM "$window_pid"
    wait "$window_pid" || fail "$1: SIGTERM did not end the window with 0"
}

# The password typed once goes to the keychain...
run_window typed
click_twips "${TW_PW[@]}"
type_text "$password"
xdotool key Return
expect typed.out "status: Connected"
wait_until 10 sh -c '"$1" read tarnwick | grep -qFx "read: $2"' _ "$probe" "$password" ||
    fail "the password typed is not in the keychain"
end_window typed
# ... and the next run signs on with it, nothing typed.
run_window remembered --connect
expect remembered.out "status: Connected"
end_window remembered

# Locked: the sign-on waits for the unlock, and goes on once the keyring is open.
lock
run_window locked --connect
expect locked.out "log: Waiting for the keychain to be unlocked."
! said locked.out "log: No keychain available: the password is kept for this run only." ||
    fail "a locked keychain was taken for none"
unlock_in_prompt
expect locked.out "status: Connected"
end_window locked

# Without a window nobody may be there to unlock it: it gives up after its limit (60 s, here 1 s).
lock
rc=0
"$tarnwick" --no-window --retry-scale 60 >"$out/headless.out" 2>"$out/headless.err" || rc=$?
[ "$rc" -eq 1 ] || fail "a locked keychain ended --no-window with $rc, not 1"
said headless.out "log: Waiting for the keychain to be unlocked." || fail "--no-window did not say it waits"
said headless.out "log: The keychain is locked." || fail "--no-window did not say the keychain is locked"

# Only the keyring's encrypted file holds it.
leaks=$(grep -rlF -- "$password" "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" 2>/dev/null || true)
[ -z "$leaks" ] || fail "the password is in $leaks"
[ -f "$XDG_DATA_HOME/keyrings/login.keyring" ] || fail "the keyring kept no file"
