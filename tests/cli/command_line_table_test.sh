#!/usr/bin/env bash
# Both programs by one rule: a bad option or argument exits 2 with or without a display, every
# complaint is on stderr and starts with the program's name, a missing mouse is an error on
# stderr while what the diagnosis lists goes to stdout.
set -uo pipefail
gui=$1 ctl=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0

# Runs PROGRAM with the display given (none, offscreen) and checks its exit code and the start
# of its first line on stderr.
check() {
    local display=$1 code=$2 start=$3
    shift 3
    local env=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
    [ "$display" = offscreen ] && env+=(QT_QPA_PLATFORM=offscreen)
    (cd "$dir" && "${env[@]}" "$@" >"$dir/out" 2>"$dir/err" </dev/null)
    local got=$? first
    first=$(head -n1 "$dir/err")
    if [ $got -ne "$code" ] || [[ $first != "$start"* ]]; then
        echo "FAIL [$display] $*: exit $got (want $code), stderr starts: $first (want: $start)"
        failures=$((failures + 1))
    fi
}

for display in none offscreen; do
    check $display 2 "kvr5507: unknown option: --bogus" "$gui" --bogus
    check $display 2 "kvr5507: --emulate= needs a file name" "$gui" --emulate=
    check $display 2 "kvr5507: --screenshot needs a file name" "$gui" --screenshot
    check $display 2 "kvr5507: unknown option: extra" "$gui" --emulate extra
    # Qt's own options are Qt's; ours after them are still checked.
    check $display 2 "kvr5507: unknown option: --bogus" "$gui" -platform offscreen --bogus
    check $display 0 "" "$gui" --version
    check $display 2 "kvr5507ctl: The following argument was not expected: --bogus" "$ctl" --bogus
    check $display 2 "kvr5507ctl: --emulate= needs a file name" "$ctl" --emulate= show
    check $display 2 "kvr5507ctl: settings is required" "$ctl" --emulate set
    check $display 2 "kvr5507ctl: a command is required" "$ctl" --emulate
    check $display 2 "kvr5507ctl: The following argument was not expected: frobnicate" "$ctl" frobnicate
    check $display 2 "kvr5507ctl: A subcommand is required" "$ctl" macro
    check $display 2 "kvr5507ctl: set: levels 9: " "$ctl" --emulate set levels 9
    check $display 0 "" "$ctl" --emulate list
done
# Without a display the window cannot start: that is no usage error.
check none 1 "kvr5507: no display" "$gui" --emulate

# The emulated interface is listed on stdout, nothing on stderr.
check none 0 "" "$ctl" --emulate list
grep -q "emulated:kvr5507" "$dir/out" || { echo "FAIL: list names no interface"; failures=$((failures + 1)); }
[ -s "$dir/err" ] && { echo "FAIL: list wrote to stderr"; failures=$((failures + 1)); }

# Without a mouse (this machine has none, unless it has): the reason on stderr, exit 1, for both.
for cmd in "$gui --diagnose" "$ctl list"; do
    prog=$(basename "${cmd%% *}")
    (cd "$dir" && $cmd >"$dir/out" 2>"$dir/err")
    got=$?
    [ $got -eq 0 ] && continue
    if [ $got -ne 1 ] || ! grep -q "^$prog: No KVR5507 mouse found\|^$prog: No interface" "$dir/err" ||
        grep -q "No KVR5507 mouse found" "$dir/out"; then
        echo "FAIL: $cmd without a mouse exits $got:"; cat "$dir/out" "$dir/err"
        failures=$((failures + 1))
    fi
done

# Nothing of ours was left in the working folder.
left=$(ls -A "$dir" | grep -v -x -e out -e err)
[ -z "$left" ] || { echo "FAIL: files left behind: $left"; failures=$((failures + 1)); }

[ $failures -eq 0 ] && echo "every command line check holds"
exit $((failures > 0))
