#!/usr/bin/env bash
# The installed form of the command line: the program itself, on an emulated mouse kept in a
# file, gives a button a menu function and reports it; the file holds the change.
set -euo pipefail
ctl=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# Backups of the writes stay in this folder.
export XDG_DATA_HOME=$dir/data
file=$dir/mouse.bin

# No file yet: the factory memory, which dump saves.
"$ctl" --emulate="$file" dump "$dir/before.bin"
"$ctl" --emulate="$file" set button 2 "Volume +"
cmp -s "$file" "$dir/before.bin" && { echo "FAIL: the memory file did not change"; exit 1; }
# Button 2's code sits at 67..69 of the memory: 03 00 E9.
code=$(od -An -tx1 -j67 -N3 "$file" | tr -d ' \n')
[ "$code" = "0300e9" ] || { echo "FAIL: button 2 holds $code"; exit 1; }
"$ctl" --emulate="$file" --json show | grep -q '"function": "Volume +"' ||
    { echo "FAIL: show does not report Volume +"; exit 1; }

set +e
"$ctl" --emulate="$file" set button 2 2>"$dir/err"
status=$?
set -e
[ $status -eq 2 ] || { echo "FAIL: a bad call exited $status"; exit 1; }
grep -q "button 2" "$dir/err" || { echo "FAIL: the message does not name the argument"; exit 1; }
echo "kvr5507ctl changed and reported the emulated mouse"
