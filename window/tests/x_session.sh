# Sourced by the tests that drive the real program in an X server of their own, as a user would.
# Arguments of the sourcing script: the program, then the helper that closes a window.
# Runs in a fresh temporary folder and leaves nothing behind, the X server included.

set -euo pipefail

heptanote=$1
close_window=$2
work=$(mktemp -d)
xvfb_pid=
app_pid=

cleanup() {
    if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$work/stderr" ]; then echo "the program's standard error:" >&2; cat "$work/stderr" >&2; fi
    if [ -n "$app_pid" ] && [ -r "/proc/$app_pid/stat" ]; then
        echo "the program's state: $(cut -d' ' -f3 "/proc/$app_pid/stat")" >&2
    fi
    if [ -n "${DISPLAY:-}" ]; then
        echo "windows shown:" >&2
        for window in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            xdotool getwindowname "$window" >&2 || true
        done
    fi
    exit 1
}

# wait_for WHAT COMMAND...: polls COMMAND ten times a second for up to 30 s.
wait_for() {
    local what=$1
    shift
    for _ in $(seq 300); do
        if "$@"; then return 0; fi
        sleep 0.1
    done
    fail "timed out waiting for $what"
}

# A child that has ended stays a zombie until it is waited for; that counts as not running.
running() {
    local state
    read -r _ _ state _ 2>/dev/null <"/proc/$1/stat" || return 1
    [ "$state" != Z ]
}

display_ready() {
    running "$xvfb_pid" || fail "Xvfb ended: $(cat "$work/xvfb.log")"
    grep -qx '[0-9][0-9]*' "$work/display"
}

# Starts Xvfb on a free display; -noreset keeps it up while one program after the other ends.
start_x() {
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 640x480x24 \
        3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_for "the X server" display_ready
    export DISPLAY=":$(cat "$work/display")"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE
}

# find_window TITLE-REGEX: the id of the shown window of that title, waiting up to 30 s.
find_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" | sed -n 1p
}

window_shown() {
    xdotool search --onlyvisible --name "$1" >/dev/null
}

window_gone() {
    ! window_shown "$1"
}

# start_program [LAUNCHER...]: starts the program in the current folder, through LAUNCHER if
# given (a command that ends by exec'ing its arguments, so that app_pid is the program's), and sets
# `form` to its window, focused.
start_program() {
    "$@" "$heptanote" 2>"$work/stderr" &
    app_pid=$!
    form=$(find_window '^Score print$') || fail "the window did not appear"
    xdotool windowfocus --sync "$form"
}

# click_at X Y: clicks the form at that point of its client area.
click_at() {
    xdotool mousemove --window "$form" "$1" "$2" click 1
}

program_ended() {
    ! running "$app_pid"
}

# Sets `status` to the program's exit status once it ends, within 30 s.
wait_for_exit() {
    wait_for "the program to end" program_ended
    status=0
    wait "$app_pid" || status=$?
    app_pid=
}

# Reads the whole listing: grep -q could stop early and fail the pipe with SIGPIPE.
file_open_in_program() {
    ls -l "/proc/$app_pid/fd" | grep "$PWD/matrix.txt\$" >/dev/null
}
