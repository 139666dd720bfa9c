#!/usr/bin/env bash
# Builds the Debian package from BUILD-DIR and checks it: its files, that it depends on the Qt 6
# widgets library and SVG plugins, and that the program unpacked from it runs. With CI=true, as root, it also
# installs the package with apt-get, runs the installed program and removes the package again.
# Usage: check-package.sh BUILD-DIR CLOSE-WINDOW-TOOL
set -euo pipefail

build=$1
close_window=$2
here=$(cd "$(dirname "$0")" && pwd)
# The same run of the real program in an X server of its own that the window's tests make.
window_run=$here/../../window/tests/real_window_test.sh
work=$(mktemp -d)
installed=
cleanup() {
    if [ -n "$installed" ]; then apt-get remove -y -qq heptanote >/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" ||
    { cat "$work/cpack.log" >&2; exit 1; }
debs=("$work"/out/heptanote_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single package in ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}

diff -u "$here/installed-files.txt" \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | LC_ALL=C sort)

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# The widgets library as the program links it, and the SVG plugins that draw its icon.
for package in libqt6widgets6 libqt6svg6; do
    grep -Eq "(^|, )$package( |,|\$)" <<<"$depends" || { echo "FAIL: no $package in Depends" >&2; exit 1; }
done
[ "$(dpkg-deb -f "$deb" Package)" = heptanote ]

dpkg-deb -x "$deb" "$work/root"
bash "$window_run" "$work/root/usr/bin/heptanote" "$close_window" \
    "$work/root/usr/share/applications/net.heptanote.Heptanote.desktop"

if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
    if [ "$(dpkg-query -W -f='${db:Status-Status}' heptanote 2>/dev/null || true)" = installed ]; then
        echo "heptanote is installed already; leaving it alone and skipping the apt-get install run"
    else
        installed=yes
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1 ||
            { cat "$work/apt.log" >&2; exit 1; }
        bash "$window_run" /usr/bin/heptanote "$close_window" \
            /usr/share/applications/net.heptanote.Heptanote.desktop
        apt-get remove -y -qq heptanote >/dev/null
        installed=
        [ ! -e /usr/bin/heptanote ] || { echo "FAIL: /usr/bin/heptanote is left after removal" >&2; exit 1; }
    fi
fi
echo "package $(basename "$deb") is good"
