#!/usr/bin/env bash
# Installs the build into a temporary root with the prefix /usr and checks it as a desktop would
# see it: exactly the expected files, a valid desktop entry and valid AppStream metadata.
# Usage: check-install.sh BUILD-DIR
set -euo pipefail

build=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

# Files only: the folders follow from them.
diff -u "$here/installed-files.txt" <(cd "$root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)

test -x "$root/usr/bin/heptanote"
desktop-file-validate "$root/usr/share/applications/net.heptanote.Heptanote.desktop"
appstreamcli validate --no-net --strict --explain \
    "$root/usr/share/metainfo/net.heptanote.Heptanote.metainfo.xml"
# Checks the files against each other too: the launchable names an installed desktop entry.
appstreamcli validate-tree --no-net --strict --explain "$root"

# The entry must start what was installed and name the icon that was installed.
entry=$root/usr/share/applications/net.heptanote.Heptanote.desktop
key() { sed -n "s/^$1=//p" "$entry"; }
test -x "$root/usr/bin/$(key Exec)"
test -f "$root/usr/share/icons/hicolor/scalable/apps/$(key Icon).svg"
echo "installed tree is valid"
