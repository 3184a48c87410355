#!/usr/bin/env bash
# Builds the core, the Windows backends, kvr5507ctl.exe (static: one file to copy) and their
# tests for 64-bit Windows with mingw-w64, and runs the tests under Wine in a prefix of its own
# under build/. Installs what is missing (mingw-w64, Wine, hidapi's Debian source package);
# running it twice changes nothing but the build. The window is not built for Windows here.
#   build/windows/kvr5507ctl.exe   the command line for Windows
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
deps=$root/build/windows-deps
mkdir -p "$build" "$deps"

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
        as_root=(sudo)
    else
        echo "build-windows.sh installs packages and a deb-src entry: run it as root" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive

# --- Packages: the cross compiler, Wine, a virtual display for Wine if it asks for one, the
# tools apt-get source needs, GoogleTest's sources and the header-only libraries.
packages=(g++-mingw-w64-x86-64-posix wine64 wine xvfb xauth dpkg-dev
          googletest libcli11-dev nlohmann-json3-dev libtomlplusplus-dev cmake ninja-build g++)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
updated=0
if [ ${#missing[@]} -gt 0 ]; then
    "${as_root[@]}" apt-get update -qq
    updated=1
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# --- hidapi's source, the same version as the Linux build uses, from Debian's source package.
# apt-get source needs a deb-src entry for the system's own suites, signed by the same keyring.
hidapi_version=$(dpkg-query -W -f='${source:Version}' libhidapi-dev 2>/dev/null ||
                 apt-cache policy libhidapi-dev | awk '/Candidate:/ {print $2}')
hidapi_src=$(find "$deps" -maxdepth 1 -type d -name 'hidapi-*' | head -n 1)
if [ -z "$hidapi_src" ] || [ ! -f "$hidapi_src/windows/hid.c" ]; then
    list=/etc/apt/sources.list.d/kvr5507-deb-src.sources
    if [ ! -f "$list" ]; then
        system=/etc/apt/sources.list.d/debian.sources
        if [ -f "$system" ]; then
            # The system's own entries, as source entries: same addresses, suites and keyring.
            awk 'BEGIN { RS = ""; ORS = "\n\n" }
                 /(^|\n)Types:[^\n]*deb([ \n]|$)/ {
                     sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$system" |
                "${as_root[@]}" tee "$list" >/dev/null
        else
            . /etc/os-release
            printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
                "$VERSION_CODENAME" | "${as_root[@]}" tee "$list" >/dev/null
        fi
        updated=0
    fi
    [ "$updated" = 1 ] || "${as_root[@]}" apt-get update -qq
    (cd "$deps" && apt-get source -qq "hidapi${hidapi_version:+=$hidapi_version}" >/dev/null 2>&1 ||
        apt-get source -qq hidapi >/dev/null)
    hidapi_src=$(find "$deps" -maxdepth 1 -type d -name 'hidapi-*' | head -n 1)
fi
[ -f "$hidapi_src/windows/hid.c" ] || { echo "hidapi's source has no windows/hid.c" >&2; exit 1; }

# --- The header-only libraries, alone in a folder: /usr/include itself must not reach mingw.
headers=$deps/include
mkdir -p "$headers"
for dir in CLI nlohmann toml++; do
    ln -sfn "/usr/include/$dir" "$headers/$dir"
done

# --- The resource embedder runs during the build, so it is built for this machine.
host_embed=$deps/embed_resources
if [ ! -x "$host_embed" ] || [ tools/embed_resources.cpp -nt "$host_embed" ]; then
    g++ -std=c++20 -O1 -o "$host_embed" tools/embed_resources.cpp
fi

# --- The Linux build's kvr5507ctl, whose output the Windows one must match byte for byte.
# KVR_LINUX_CTL names one already built.
linux_ctl=${KVR_LINUX_CTL:-}
if [ -z "$linux_ctl" ]; then
    linux_ctl=$root/build/test/kvr5507ctl
    if [ ! -f build/test/build.ninja ]; then
        ./scripts/install-deps.sh
        cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVR_WERROR=ON >/dev/null
    fi
    cmake --build build/test --target kvr5507ctl >/dev/null
fi

# --- The build, with ccache when there is one.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
fi
cmake -S . -B "$build" -G Ninja --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DKVR_WERROR=ON -DKVR_HARDENING=OFF \
    -DKVR_HIDAPI_SOURCE="$hidapi_src" -DKVR_HEADER_ROOT="$headers" \
    -DKVR_HOST_EMBED_RESOURCES="$host_embed" -DKVR_LINUX_CTL="$linux_ctl" "${launcher[@]}" >/dev/null
cmake --build "$build" -j2

# --- Wine: a fresh prefix under build/, no messages, no display needed for these programs.
export WINEPREFIX=$build/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
fi
wineserver -w 2>/dev/null || true

ctest --test-dir "$build" --output-on-failure -j2
wineserver -k 2>/dev/null || true
