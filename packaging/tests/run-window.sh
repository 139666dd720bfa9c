#!/usr/bin/env bash
# Runs PROGRAM in an X server of its own, in a fresh working folder, as a user would: clicks "go",
# dismisses the message, checks matrix.txt, then closes the window and checks the exit status.
# On the way it checks that the window shows an icon and belongs to DESKTOP-ENTRY.
# Usage: run-window.sh PROGRAM CLOSE-WINDOW-TOOL DESKTOP-ENTRY
set -euo pipefail

program=$1
close_window=$2
entry=$3
work=$(mktemp -d)
xvfb_pid=
program_pid=

cleanup() {
    if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    wait
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
    exit 1
}

# Runs "$@" every tenth of a second until it succeeds, for at most $1 seconds.
poll() {
    local tenths=$(($1 * 10))
    shift
    until "$@"; do
        tenths=$((tenths - 1))
        [ "$tenths" -gt 0 ] || return 1
        sleep 0.1
    done
}

# The first visible window whose whole name is $1, waiting for it at most $2 seconds.
find_window() {
    timeout "$2" xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

# The server picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1024x768x24 3>"$work/display" \
    2>"$work/xvfb.log" &
xvfb_pid=$!
poll 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n 1 "$work/display")

mkdir "$work/run" "$work/runtime"
chmod 700 "$work/runtime"
# A subshell waits for the program and records its status, so that the script can poll for it.
(
    cd "$work/run"
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work/runtime" "$program" \
        >"$work/program.log" 2>&1 &
    echo $! >"$work/program.pid"
    status=0
    wait $! || status=$?
    echo "$status" >"$work/status"
) &
poll 10 test -s "$work/program.pid" || fail "the program did not start"
program_pid=$(cat "$work/program.pid")

window=$(find_window "Score print" 30) || true
[ -n "$window" ] || fail "no window named \"Score print\""

wm_class=$(xprop -id "$window" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
startup_wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ "$wm_class" = "$startup_wm_class" ] ||
    fail "the window's class \"$wm_class\" is not the entry's StartupWMClass \"$startup_wm_class\""
# Qt sets the icon property only once it could draw the icon.
[[ $(xprop -id "$window" -len 16 _NET_WM_ICON) == "_NET_WM_ICON(CARDINAL) = "* ]] ||
    fail "the window has no icon"

# The middle of "go", in the window's own coordinates.
xdotool mousemove --sync --window "$window" 56 139 click 1

box=$(find_window Heptanote 60) || true
[ -n "$box" ] || fail "no message box named \"Heptanote\" after clicking go"
timeout 10 xdotool windowfocus --sync "$box" || fail "the message box would not take the focus"
xdotool key Return

box_gone() { [ -z "$(xdotool search --onlyvisible --name '^Heptanote$' 2>/dev/null)" ]; }
poll 20 box_gone || fail "the message box stayed open after Return"

matrix=$work/run/matrix.txt
complete() { [ -f "$matrix" ] && [ "$(stat -c %s "$matrix")" -eq 9058973 ]; }
poll 20 complete || fail "matrix.txt is not 9058973 bytes: $(stat -c %s "$matrix" 2>&1)"
cmp -s <(head -c 11 "$matrix") <(printf 'CCCCCCC  \r\n') || fail "matrix.txt does not start with CCCCCCC"
cmp -s <(tail -c 11 "$matrix") <(printf 'BBBBBBB  \r\n') || fail "matrix.txt does not end with BBBBBBB"

"$close_window" "$window"
poll 20 test -s "$work/status" || fail "the program kept running after its window was closed"
program_pid=
status=$(cat "$work/status")
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "window run of $program is complete"
