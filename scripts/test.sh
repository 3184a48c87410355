#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer. Compiler warnings are
# errors here, so a warning never lands.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh --tests

if [ "${SANITIZE:-0}" = 1 ]; then
    dir=build/sanitize
    flags=(-DCMAKE_BUILD_TYPE=Debug -DKVR_SANITIZE=ON)
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    dir=build/test
    flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
fi

cmake -S . -B "$dir" -G Ninja "${flags[@]}" -DKVR_WERROR=ON >/dev/null
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
