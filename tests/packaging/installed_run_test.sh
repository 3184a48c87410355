#!/usr/bin/env bash
# BUILD: both programs, installed into a temporary root and run from there as the user that
# runs the test (root on CI) and, when that is root, as an ordinary user too, write nothing under
# the install prefix: the macro library goes to the user's data folder, and a command that only
# reads creates no file at all.
set -euo pipefail
build=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
chmod 755 "$root"
export LC_ALL=C
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
bin=$root/dest/usr/bin
snapshot() { (cd "$root/dest" && find . -printf '%p %s %m %T@\n' | sort); }
before=$(snapshot)

# Runs the programs as the user given ("" for this one) with a home of their own.
run_as() {
    local user=$1 home=$root/home-${1:-self} work=$root/work-${1:-self}
    mkdir -p "$home" "$work"
    local as=()
    if [ -n "$user" ]; then
        chown "$user" "$home" "$work"
        as=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups)
    fi
    local env=(env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen)
    local library=$home/.local/share/kvr5507/Macro.bin
    cd "$work"

    "${as[@]}" "${env[@]}" "$bin/kvr5507ctl" --emulate=mouse.bin macro list >/dev/null
    "${as[@]}" "${env[@]}" "$bin/kvr5507ctl" --emulate macro list >/dev/null
    made=$(find "$home" "$work" -mindepth 1)
    [ -z "$made" ] || { echo "FAIL ($user): macro list made files: $made"; exit 1; }

    "${as[@]}" "${env[@]}" "$bin/kvr5507ctl" --emulate=mouse.bin macro add Copy >/dev/null
    [ -f "$library" ] || { echo "FAIL ($user): macro add made no library at $library"; exit 1; }
    [ "$(stat -c %a "$(dirname "$library")")" = 700 ] ||
        { echo "FAIL ($user): the data folder is open to others"; exit 1; }
    rm "$library"
    # The offscreen window's complaints about raising and masks are of no interest here.
    "${as[@]}" "${env[@]}" "$bin/kvr5507" --emulate=mouse.bin --screenshot shot.png 2>"$root/log" ||
        { cat "$root/log"; echo "FAIL ($user): the window did not start"; exit 1; }
    [ -f "$library" ] || { echo "FAIL ($user): the window made no library at $library"; exit 1; }

    # The user's data folder holds the library and the backups made before `macro add` wrote;
    # caches of the libraries the window uses aside, nothing else of ours is in the home.
    others=$(cd "$home" && find . -type f ! -path './.cache/*' \
                 ! -path './.local/share/kvr5507/backups/*' |
             grep -v -x './.local/share/kvr5507/Macro.bin' || true)
    [ -z "$others" ] || { echo "FAIL ($user): files beside the library: $others"; exit 1; }
    cd "$root"
    echo "as ${user:-$(id -un)}: the library is $library"
}

run_as ""
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1 && command -v setpriv >/dev/null; then
    run_as nobody
fi

after=$(snapshot)
if [ "$before" != "$after" ]; then
    echo "FAIL: the programs wrote under the install prefix:"
    diff <(echo "$before") <(echo "$after") || true
    exit 1
fi
echo "nothing was written under the install prefix"
