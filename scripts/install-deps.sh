#!/usr/bin/env bash
# Installs, with apt-get, whichever of the packages the build and the tests use are missing.
# Quick when nothing is missing: it only asks dpkg.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev fonts-dejavu-core
    clang-14 libclang-rt-14-dev
    xvfb xdotool x11-utils libxcb1-dev
    desktop-file-utils appstream dpkg-dev file libqt6svg6
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
