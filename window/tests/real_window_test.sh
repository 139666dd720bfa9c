#!/usr/bin/env bash
# The real program in a real X window: "go" by mouse, the count's box dismissed by key, the whole
# file on disk, and a close of the window that ends the program with status 0.
# Given a desktop entry as a third argument, also checks that the window shows an icon and
# belongs to that entry.
entry=${3:-}
source "$(dirname "$0")/x_session.sh"

start_x
mkdir "$work/run" && cd "$work/run"
start_program

if [ -n "$entry" ]; then
    wm_class=$(xprop -id "$form" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
    startup_wm_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
    [ "$wm_class" = "$startup_wm_class" ] ||
        fail "the window's class \"$wm_class\" is not the entry's StartupWMClass \"$startup_wm_class\""
    # Qt sets the icon property only once it could draw the icon.
    [[ $(xprop -id "$form" -len 16 _NET_WM_ICON) == "_NET_WM_ICON(CARDINAL) = "* ]] ||
        fail "the window has no icon"
fi

started=$(date +%s%N)
click_at 56 139  # the middle of "go"
box=$(find_window '^Heptanote$') || fail "no box after go"
echo "go to box, seen from outside: $((($(date +%s%N) - started) / 1000000)) ms"

running "$app_pid" || fail "the program ended while its box was shown"
file_open_in_program || fail "matrix.txt is not open while the box is shown"
xdotool windowfocus --sync "$box" key Return
wait_for "the box to go" window_gone '^Heptanote$'
wait_for "matrix.txt to be closed" eval '! file_open_in_program'

[ "$(stat -c %s matrix.txt)" = 9058973 ] || fail "matrix.txt has $(stat -c %s matrix.txt) bytes"
[ "$(head -c 11 matrix.txt)" = $'CCCCCCC  \r' ] || fail "the first line is wrong"
[ "$(tail -c 11 matrix.txt)" = $'BBBBBBB  \r' ] || fail "the last line is wrong"

"$close_window" "$form"
wait_for_exit
[ "$status" = 0 ] || fail "closing the window ended the program with status $status"
echo "PASS"
