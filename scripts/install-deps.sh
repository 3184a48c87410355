#!/usr/bin/env bash
# Installs the Debian packages that building and running kvr5507 need; with --tests also those
# that only the tests need. Only what is missing is installed; running it twice changes nothing.
set -euo pipefail

packages=(
    # building
    cmake ninja-build g++ pkg-config
    qt6-base-dev libhidapi-dev libpng-dev zlib1g-dev libgif-dev libx11-dev
    libglib2.0-dev
    # the macro recorder's capture: XInput 2 under X, evdev elsewhere
    libxi-dev libevdev-dev
    # kvr5507ctl's command line and JSON (headers only)
    libcli11-dev nlohmann-json3-dev
    # kvr5507ctl export and apply: the configuration as TOML (headers only)
    libtomlplusplus-dev
    # running: the caption font, and a virtual X server (xvfb-run needs xauth) for a machine
    # without a display
    fonts-dejavu-core fonts-yanone-kaffeesatz
    xvfb xauth
)
if [ "${1:-}" = --tests ]; then
    # GoogleTest; xdotool drives the real program; the pointer settings test compiles a schema;
    # the menu entry, the metainfo, the man pages and the .deb are checked (dpkg-shlibdeps finds
    # dependencies), and the bash completion is tried
    packages+=(libgtest-dev libgmock-dev xdotool libglib2.0-bin
               desktop-file-utils appstream dpkg-dev lintian mandoc bash-completion)
    # the capture tests type into a private X server with XTest
    packages+=(libxtst-dev)
    # the fuzz drivers run with clang's libFuzzer and sanitizers
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        as_root=(sudo)
    else
        echo "kvr5507 needs these Debian packages: ${missing[*]}" >&2
        echo "Install them as root, then run this script again:" >&2
        echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
        exit 1
    fi
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
