#!/usr/bin/env bash
# Runs one fuzz driver: run_fuzzer.sh DRIVER CORPUS WORK [libFuzzer options...]. What the run
# finds new goes to WORK, never into the committed CORPUS; a crashing input is kept in WORK.
set -euo pipefail
driver=$1 corpus=$2 work=$3
shift 3
mkdir -p "$work"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$driver" -artifact_prefix="$work/" -timeout=10 -print_final_stats=1 "$@" "$work" "$corpus"
