#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running kvr5507 need.
# Only what is missing is installed; running it twice changes nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
    libhidapi-dev libpng-dev zlib1g-dev libgif-dev
    libx11-dev libxi-dev libxtst-dev libevdev-dev
    libglib2.0-dev libglib2.0-bin
    xvfb xdotool x11-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core
)
# kvr5507ctl's command line and JSON (headers only, needed to build).
cli_build_packages=(libcli11-dev nlohmann-json3-dev)
# Tests of the menu entry, the metainfo and the .deb (dpkg-shlibdeps finds its dependencies).
cli_test_packages=(desktop-file-utils appstream dpkg-dev)
packages+=("${cli_build_packages[@]}" "${cli_test_packages[@]}")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        as_root=(sudo)
    else
        echo "kvr5507 needs these packages: ${missing[*]}" >&2
        echo "Install them as root with:" >&2
        echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
else
    as_root=()
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
