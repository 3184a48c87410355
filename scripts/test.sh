#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer, leak checking on.
# Compiler warnings are errors here, so a warning never lands.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --tests

if [ "${SANITIZE:-0}" = 1 ]; then
    dir=build/sanitize
    flags=(-DCMAKE_BUILD_TYPE=Debug -DKVR_SANITIZE=ON)
    # Leaks are checked; the suppressions cover only leaks inside system libraries.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    dir=build/test
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi

cmake -S . -B "$dir" -G Ninja "${flags[@]}" -DKVR_WERROR=ON >/dev/null
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
