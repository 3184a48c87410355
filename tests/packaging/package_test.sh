#!/usr/bin/env bash
# install BUILD EXPECTED: `cmake --install` into a temporary root lays out exactly the expected
#   files.
# deb BUILD EXPECTED: the .deb carries exactly those files, depends on the libraries the
#   programs link, has every file dated by the last commit, shows no error or warning in
#   lintian, installs into a temporary root with dpkg and is removed leaving nothing.
set -euo pipefail
export LC_ALL=C
mode=$1 build=$2 expected=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

files_under() { (cd "$1" && find . -type f -o -type l) | sed 's|^\.||' | sort; }

check_list() {
    if ! diff -u "$expected" <(echo "$1"); then
        echo "FAIL: the files differ from $expected (- expected, + found)"
        exit 1
    fi
}

case $mode in
install)
    DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
    found=$(files_under "$root/dest")
    echo "$found"
    check_list "$found"
    # Each hicolor icon is a picture of its folder's size (drawn there, not a scaled copy).
    for icon in "$root"/dest/usr/share/icons/hicolor/*/apps/*.png; do
        size=$(basename "$(dirname "$(dirname "$icon")")")
        read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$icon")
        got="$(( (w0 << 24) | (w1 << 16) | (w2 << 8) | w3 ))x$(( (h0 << 24) | (h1 << 16) | (h2 << 8) | h3 ))"
        [ "$got" = "$size" ] || { echo "FAIL: the $size icon is $got"; exit 1; }
    done
    ;;
deb)
    cpack --config "$build/CPackConfig.cmake" -B "$root/out" >/dev/null
    deb=$(ls "$root"/out/kvr5507_*.deb)
    depends=$(dpkg-deb -f "$deb" Depends)
    # The programs need the libraries, never their development packages.
    if grep -q -- "-dev" <<<"$depends"; then echo "FAIL: depends on a development package"; exit 1; fi
    echo "Depends: $depends"
    for lib in libhidapi-hidraw0 libpng16-16 libgif7 libqt6widgets6 libqt6gui6 libc6 \
               fonts-yanone-kaffeesatz libglib2.0-0 libxi6 libevdev2; do
        grep -q "$lib" <<<"$depends" || { echo "FAIL: the package does not depend on $lib"; exit 1; }
    done
    # No maintainer scripts: nothing is made at install that removal would leave behind.
    scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -vE '^\./(control|md5sums)?$' || true)
    [ -z "$scripts" ] || { echo "FAIL: unexpected control files: $scripts"; exit 1; }

    # Files dated by the last commit: two builds of one commit give the same package.
    source=$(cd "$(dirname "$0")" && git rev-parse --show-toplevel 2>/dev/null || true)
    if [ -n "$source" ]; then
        commit_time=$(git -C "$source" log -1 --format=%ct)
        dated=$(dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time --utc |
                awk '{print $4 " " $5}' | sort -u)
        want=$(date -u -d "@$commit_time" '+%Y-%m-%d %H:%M:%S')
        [ "$dated" = "$want" ] ||
            { echo "FAIL: files are dated $dated, not by the last commit ($want)"; exit 1; }
    fi

    # Debian's own checks: no error, no warning.
    if command -v lintian >/dev/null; then
        tags=$(lintian --allow-root --tag-display-limit 0 "$deb" 2>&1 || true)
        echo "$tags"
        if grep -E '^[EW]: ' <<<"$tags"; then echo "FAIL: lintian errors or warnings"; exit 1; fi
    else
        echo "lintian is not installed: ./scripts/install-deps.sh --tests installs it"
        exit 1
    fi

    # A private dpkg database in the temporary root: install, list, remove.
    admin="$root/admin"
    mkdir -p "$admin/info" "$admin/updates" "$root/inst"
    touch "$admin/status" "$admin/available"
    dpkg_here=(dpkg --admindir="$admin" --instdir="$root/inst" --force-not-root
               --force-depends --force-script-chrootless --no-triggers --log=/dev/null)
    "${dpkg_here[@]}" -i "$deb" >/dev/null
    found=$(files_under "$root/inst")
    echo "$found"
    check_list "$found"
    "${dpkg_here[@]}" -P kvr5507 >/dev/null
    left=$(files_under "$root/inst")
    [ -z "$left" ] || { echo "FAIL: removal left files behind:"; echo "$left"; exit 1; }
    dirs=$(cd "$root/inst" && find . -mindepth 1 -type d)
    [ -z "$dirs" ] || { echo "FAIL: removal left folders behind:"; echo "$dirs"; exit 1; }
    echo "installed and removed cleanly"
    ;;
*)
    echo "usage: $0 install|deb BUILD EXPECTED" >&2
    exit 2
    ;;
esac
