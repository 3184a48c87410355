#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it with the given options,
# for example:  ./scripts/run.sh --emulate
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DKVR_BUILD_TESTS=OFF -DKVR_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target kvr5507

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # No display: run under a virtual X server so the command still works on a headless machine.
    exec xvfb-run -a -s "-screen 0 1280x1024x24" build/release/kvr5507 "$@"
fi
exec build/release/kvr5507 "$@"
