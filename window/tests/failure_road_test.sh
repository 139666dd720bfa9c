#!/usr/bin/env bash
# The real program when "go" fails: the report appears, names the error on standard error, the
# program ends with status 1 once the report is dismissed, and matrix.txt is as it was before go:
# no incomplete one is left.
source "$(dirname "$0")/x_session.sh"

none() { :; }
make_file() { printf 'left by hand\r\n' >matrix.txt; }
file_untouched() { [ "$(cat matrix.txt)" = $'left by hand\r' ]; }
make_folder() { mkdir matrix.txt; }
folder_untouched() { [ -d matrix.txt ] && [ -z "$(ls -A matrix.txt)" ]; }
link_to_full() { ln -s /dev/full matrix.txt; }
link_untouched() { [ "$(readlink matrix.txt)" = /dev/full ] && [ "$(ls -A)" = matrix.txt ]; }
remove_folder() { rmdir "$PWD"; }
folder_gone() { [ ! -e "$PWD" ]; }
folder_empty() { [ -z "$(ls -A)" ]; }

# Runs its arguments with a 1 MiB limit on the files they write (ulimit -f counts 1024-byte
# blocks in bash) and SIGXFSZ ignored, which exec keeps: a write past the limit fails with EFBIG
# instead of killing the program.
with_file_limit() {
    ulimit -f 1024
    trap '' XFSZ
    exec "$@"
}

# check_failure NAME TEXT1 LAUNCHER BEFORE-START BEFORE-GO EXPECTED-LINE-START CHECK-AFTER
# Each row runs in a fresh folder. An empty TEXT1 keeps the box's initial "1"; an empty LAUNCHER
# starts the program directly.
row=0
check_failure() {
    local name=$1 text=$2 launcher=$3 before_start=$4 before_go=$5 expected=$6 after=$7
    echo "--- $name"
    row=$((row + 1))
    mkdir "$work/row$row" && cd "$work/row$row"
    $before_start
    # Unquoted, so that an empty launcher is no word at all.
    start_program $launcher
    $before_go
    if [ -n "$text" ]; then
        click_at 47 93  # into Text1
        xdotool key ctrl+a type "$text"
    fi
    click_at 56 139  # "go"
    local box
    box=$(find_window '^Heptanote$') || fail "$name: no report appeared"
    running "$app_pid" || fail "$name: the program ended before the report was dismissed"
    grep -q "^$expected" "$work/stderr" || fail "$name: standard error does not name the error"
    xdotool windowfocus --sync "$box" key Return
    wait_for_exit
    [ "$status" = 1 ] || fail "$name: the program ended with status $status, not 1"
    $after || fail "$name: matrix.txt is not as it was before go, or an incomplete one is left"
    echo "ok: $(grep "^heptanote: " "$work/stderr")"
}

start_x
check_failure "a column count out of range" 40000 "" make_file none \
    "heptanote: Error 34: Overflow" file_untouched
check_failure "a folder in place of the file" "" "" make_folder none \
    "heptanote: Error 21: Cannot create matrix.txt: Is a directory" folder_untouched
check_failure "a link to a device that is always full" "" "" link_to_full none \
    "heptanote: Error 28: Cannot write matrix.txt: No space left on device" link_untouched
check_failure "the folder removed while the program runs" "" "" none remove_folder \
    "heptanote: Error 2: Cannot create matrix.txt: No such file or directory" folder_gone
check_failure "a file-size limit reached part-way" "" with_file_limit none none \
    "heptanote: Error 27: Cannot write matrix.txt: File too large" folder_empty
echo "PASS"
