#!/usr/bin/env bash
# kvr5507ctl.exe under Wine: with no mouse `list` says so and exits 1; on one memory file its
# JSON of `show` is byte for byte the Linux build's; set, dump, restore, profile and macro work on
# Windows paths with a drive letter, backslashes and letters outside any one code page.
# Usage: ctl_exe_test.sh WINE KVR5507CTL.EXE LINUX-KVR5507CTL WORK-FOLDER
set -euo pipefail
wine=$1 exe=$2 linux=$3 work=$4
export WINEDEBUG=-all
# Wine hands the arguments over in the locale's encoding: the names here are UTF-8.
export LC_ALL=C.UTF-8
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Wine's own Z: drive shows the whole Linux tree.
winpath() { echo "Z:${1//\//\\}"; }
ctl() { "$wine" "$exe" "$@"; }

rm -rf "$work"
folder="$work/Zoë Jürgen 山田"
mkdir -p "$folder"
export XDG_DATA_HOME=$work/linux-data

# No mouse: said on stderr, exit 1.
set +e
ctl list >"$work/list.out" 2>"$work/list.err"
rc=$?
set -e
[ "$rc" = 1 ] || fail "list without a mouse exited $rc, not 1"
grep -q "No KVR5507 mouse found" "$work/list.err" || fail "list without a mouse said: $(cat "$work/list.err")"
[ ! -s "$work/list.out" ] || fail "list without a mouse printed on stdout: $(cat "$work/list.out")"

# One memory file, changed by the Linux build, shown by both.
mem=$folder/mem.bin
"$linux" --emulate="$mem" set levels 3 level 2=3200 color 1=5 mode breathing-1 >/dev/null
"$linux" --emulate="$mem" --json show >"$work/linux.json"
ctl --emulate="$(winpath "$mem")" --json show >"$work/windows.json"
cmp "$work/linux.json" "$work/windows.json" || fail "show --json differs between Linux and Windows"
"$linux" --emulate="$mem" show >"$work/linux.txt"
ctl --emulate="$(winpath "$mem")" show >"$work/windows.txt"
cmp "$work/linux.txt" "$work/windows.txt" || fail "show differs between Linux and Windows"

# Writes from Windows on Windows paths, read back by Linux.
w=$(winpath "$folder")
ctl --emulate="$w\\mem.bin" set current 3 button 4 forward >/dev/null || fail "set"
ctl --emulate="$w\\mem.bin" dump "$w\\dump.bin" >/dev/null || fail "dump"
cmp <(head -c 1024 "$mem") "$folder/dump.bin" || fail "dump is not the memory file"
ctl --emulate="$w\\mem.bin" reset >/dev/null || fail "reset"
ctl --emulate="$w\\mem.bin" restore "$w\\dump.bin" >/dev/null || fail "restore"
cmp "$mem" "$folder/dump.bin" || fail "restore did not give the memory back"
ctl --emulate="$w\\mem.bin" profile save "$w\\Profil ä.ini" >/dev/null || fail "profile save"
[ -s "$folder/Profil ä.ini" ] || fail "profile save wrote no file under its own name"
ctl --emulate="$w\\mem.bin" reset >/dev/null
ctl --emulate="$w\\mem.bin" profile load "$w\\Profil ä.ini" >/dev/null || fail "profile load"
"$linux" --emulate="$mem" --json show >"$work/after.json"
ctl --emulate="$w\\mem.bin" --json show >"$work/after-windows.json"
cmp "$work/after.json" "$work/after-windows.json" || fail "show after the Windows writes differs"
grep -q '"current": 3' "$work/after.json" || fail "the Windows set did not reach the memory file"
ls "${WINEPREFIX:?}"/drive_c/users/*/AppData/Roaming/kvr5507/backups/*.bin >/dev/null 2>&1 || fail "no backup in %APPDATA%\\kvr5507\\backups"

# The macro library on a Windows path: a ready-made macro into the mouse, one exported.
lib="$w\\Macro.bin"
ctl --emulate="$w\\mem.bin" --library "$lib" macro list >"$work/macros.txt" || fail "macro list"
grep -q "In the library .*Macro.bin: 37 of 100 macros" "$work/macros.txt" ||
    fail "macro list said: $(head -n 2 "$work/macros.txt")"
ctl --emulate="$w\\mem.bin" --library "$lib" macro add Copy >/dev/null || fail "macro add"
ctl --emulate="$w\\mem.bin" --library "$lib" macro export "$w\\one.mcr" Copy >/dev/null ||
    fail "macro export"
[ "$(stat -c %s "$folder/one.mcr" 2>/dev/null)" = 272 ] || fail "macro export wrote no record"
"$linux" --emulate="$mem" --json show | grep -q '"Copy"' || fail "the macro added is not in the mouse"

if [ "$failures" -gt 0 ]; then
    echo "$failures failed" >&2
    exit 1
fi
echo "kvr5507ctl.exe: list, show, set, dump, restore, profile and macro on Windows paths all good"
