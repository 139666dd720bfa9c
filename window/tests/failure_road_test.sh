#!/usr/bin/env bash
# The real program when "go" fails: the report appears, names the error on standard error, the
# program ends with status 1 once the report is dismissed, and matrix.txt is as it was.
source "$(dirname "$0")/x_session.sh"

make_file() { printf 'left by hand\r\n' >matrix.txt; }
file_untouched() { [ "$(cat matrix.txt)" = $'left by hand\r' ]; }
make_folder() { mkdir matrix.txt; }
folder_untouched() { [ -d matrix.txt ] && [ -z "$(ls -A matrix.txt)" ]; }

# check_failure NAME TEXT1 PREPARE EXPECTED-LINE-START CHECK-AFTER
# An empty TEXT1 keeps the box's initial "1".
check_failure() {
    local name=$1 text=$2 prepare=$3 expected=$4 after=$5
    echo "--- $name"
    mkdir "$work/$prepare" && cd "$work/$prepare"
    $prepare
    start_program
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
    $after || fail "$name: matrix.txt was changed"
    echo "ok: $(grep "^heptanote: " "$work/stderr")"
}

start_x
check_failure "a column count out of range" 40000 make_file \
    "heptanote: Error 34: Overflow" file_untouched
check_failure "a folder in place of the file" "" make_folder \
    "heptanote: Error 21: Cannot create matrix.txt: Is a directory" folder_untouched
echo "PASS"
