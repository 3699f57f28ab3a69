# Helpers for driving Tarnwick under Xvfb with real input events (sourced by the end-to-end scripts
# and by scripts/run.sh). Every wait polls and gives up after a bounded time.

started_pids=()

# use_folder DIR: a fresh DIR for a run's logs and screenshots, with settings (XDG_CONFIG_HOME), data
# (XDG_DATA_HOME: the transcript) and a runtime folder of its own inside, and no keychain service; sets
# out.
use_folder() {
    out=$1
    rm -rf "$out"
    mkdir -p "$out"
    export XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data XDG_RUNTIME_DIR=$out/runtime
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$out/no-bus
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}

# Stops everything started through start_bg, newest first.
stop_all() {
    local i
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null || true
    done
    for pid in "${started_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    started_pids=()
}

# start_bg OUT ERR COMMAND...: runs COMMAND in the background and remembers it for stop_all.
start_bg() {
    local out=$1 err=$2
    shift 2
    "$@" >"$out" 2>"$err" &
    started_pids+=($!)
    last_pid=$!
}

# wait_until SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds; fails after SECONDS.
wait_until() {
    local tries=$(($1 * 10))
    shift
    while ! "$@" >/dev/null 2>&1; do
        ((tries-- > 0)) || return 1
        sleep 0.1
    done
}

# Starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
    local dir=$1
    : >"$dir/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    started_pids+=($!)
    wait_until 20 test -s "$dir/display" || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$(head -n1 "$dir/display")"
    wait_until 10 xdpyinfo || { echo "Xvfb does not answer on $DISPLAY" >&2; return 1; }
}

# Starts trayer, a tray host; returns once its panel is mapped.
start_trayer() {
    local dir=$1
    start_bg "$dir/trayer.log" "$dir/trayer.log" \
        trayer --edge bottom --align right --widthtype pixel --width 96 --heighttype pixel --height 24
    wait_until 10 sh -c 'xdotool search --onlyvisible --class trayer | grep -q .' ||
        { echo "trayer did not start" >&2; return 1; }
}

# Starts twm, a small window manager that can iconify windows (Xvfb has only the "fixed" core font). A
# window is managed once wm_state_is reports it Normal.
start_twm() {
    local dir=$1
    cat >"$dir/twmrc" <<'TWM'
RandomPlacement
UsePPosition "on"
NoGrabServer
TitleFont "fixed"
ResizeFont "fixed"
MenuFont "fixed"
IconFont "fixed"
IconManagerFont "fixed"
Button1 = : icon : f.iconify
TWM
    start_bg "$dir/twm.log" "$dir/twm.log" env LC_ALL=C twm -f "$dir/twmrc"
}

# wm_state_is WINDOW STATE: the window manager's record of the window (Normal, Iconic) is STATE.
wm_state_is() {
    xprop -id "$1" WM_STATE 2>/dev/null | grep -q "window state: $2"
}

# Starts tocd on a free loopback port (or the given address) with the given accounts; sets tocd_port.
# Its login limit is off: the runs sign on from 127.0.0.1 again and again.
start_tocd() {
    local dir=$1 tocd=$2 listen=$3
    shift 3
    local args=(--listen "$listen" --login-limit 0)
    local account
    for account in "$@"; do
        args+=(--account "$account")
    done
    start_bg "$dir/tocd.out" "$dir/tocd.err" "$tocd" "${args[@]}"
    tocd_pid=$last_pid
    wait_until 10 grep -q '^listening on ' "$dir/tocd.out" || { cat "$dir/tocd.err" >&2; return 1; }
    local line
    line=$(grep -m1 '^listening on ' "$dir/tocd.out")
    tocd_port=${line##*:}
}

# Geometry of an X window: sets win_x, win_y, win_w, win_h and win_map (IsViewable, IsUnMapped, ...).
window_geometry() {
    local info
    info=$(xwininfo -id "$1") || return 1
    win_x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    win_y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    win_w=$(awk '/Width:/ {print $2}' <<<"$info")
    win_h=$(awk '/Height:/ {print $2}' <<<"$info")
    win_map=$(awk '/Map State:/ {print $3}' <<<"$info")
}

# The main window (named "Tarnwick", larger than an icon); sets main_window.
find_main_window() {
    local w
    for w in $(xdotool search --name '^Tarnwick$' 2>/dev/null); do
        window_geometry "$w" || continue
        if [ "$win_w" -ge 200 ] && [ "$win_map" = IsViewable ]; then
            main_window=$w
            return 0
        fi
    done
    return 1
}

# The tray icon (a small mapped window of the program's class); sets tray_icon.
find_tray_icon() {
    local w
    for w in $(xdotool search --class tarnwick 2>/dev/null); do
        window_geometry "$w" || continue
        if [ "$win_w" -ge 8 ] && [ "$win_w" -le 64 ] && [ "$win_map" = IsViewable ]; then
            tray_icon=$w
            return 0
        fi
    done
    return 1
}

map_state_is() {
    window_geometry "$1" && [ "$win_map" = "$2" ]
}

# click_at X Y [BUTTON]: moves the pointer to a screen point, then clicks there (the left button unless
# BUTTON is given). The program's buttons keep the pointer grabbed after a click until they see it
# leave, and a press that reaches them before that move has been handled counts as a press outside;
# nothing in X shows when the move has been handled, so the click waits a moment after the move.
click_at() {
    xdotool mousemove --sync "$1" "$2"
    sleep 0.2
    xdotool click "${3:-1}"
}

# click_twips X Y [BUTTON]: a click (left unless BUTTON is given) at a point of the main window given in
# design units (twips), scaled by the window's real width so any screen resolution works.
click_twips() {
    window_geometry "$main_window" || return 1
    local x=$((win_x + ($1 * win_w + 3315) / 6630))
    local y=$((win_y + ($2 * win_w + 3315) / 6630))
    click_at "$x" "$y" "${3:-1}"
}

# click_center WINDOW [BUTTON]: a click (left unless BUTTON is given) in the middle of a window.
click_center() {
    window_geometry "$1" || return 1
    click_at $((win_x + win_w / 2)) $((win_y + win_h / 2)) "${2:-1}"
}

type_text() {
    xdotool type --delay 15 -- "$1"
}

# sign_on_typed NAME PASSWORD: types the screen name and password into the main window's boxes and
# presses Enter.
sign_on_typed() {
    click_twips "${TW_SN[@]}"
    type_text "$1"
    click_twips "${TW_PW[@]}"
    type_text "$2"
    xdotool key Return
}

# retype_twips X Y TEXT: clicks into the text box at a point given in twips and replaces its text.
retype_twips() {
    click_twips "$1" "$2"
    xdotool key ctrl+a
    type_text "$3"
}

# Centres of the controls the sessions use, in twips from the window's top-left corner.
TW_SN=(1807 2182)
TW_PW=(1807 2782)
TW_CONNECT=(1627 3307)
TW_DISCONNECT=(2827 3307)
TW_ROOM=(4807 2182)
TW_JOIN=(5647 2587)
TW_FIRST_ROOM=(4220 3000)
TW_LOGO=(3307 600)
TW_LEAVE=(5647 4627)
