#!/usr/bin/env bash
# Started where no display can be opened, the program says so in one line and ends with status 1,
# instead of being aborted by Qt.
set -euo pipefail
heptanote=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

unused_display() {
    local n=1000
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    echo ":$n"
}

# check NAME EXPECTED-LINE ENV-ASSIGNMENTS...
check() {
    local name=$1 expected=$2
    shift 2
    local status=0
    env -u DISPLAY -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE "$@" \
        timeout 30 "$heptanote" 2>"$work/stderr" || status=$?
    [ "$status" = 1 ] || { echo "FAIL: $name: status $status, not 1" >&2; cat "$work/stderr" >&2; exit 1; }
    [ "$(cat "$work/stderr")" = "$expected" ] ||
        { echo "FAIL: $name: standard error is not the one line expected:" >&2; cat "$work/stderr" >&2; exit 1; }
    echo "ok: $name: $expected"
}

display=$(unused_display)
check "a display that does not exist" "heptanote: cannot open the display $display" \
    DISPLAY="$display"
check "no display named" "heptanote: cannot open the display: DISPLAY is not set"
check "X asked for by name" "heptanote: cannot open the display $display" \
    DISPLAY="$display" QT_QPA_PLATFORM=xcb
echo "PASS"
