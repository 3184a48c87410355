#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it with the given options,
# for example:  ./scripts/run.sh --emulate
# The program starts in the caller's folder, so relative paths in the options are the caller's.
set -euo pipefail
checkout="$(cd "$(dirname "$0")/.." && pwd)"
build="$checkout/build/release"

"$checkout/scripts/install-deps.sh"
cmake -S "$checkout" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DKVR_BUILD_TESTS=OFF -DKVR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target kvr5507

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # No display: run under a virtual X server so the command still works on a headless machine.
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$build/kvr5507" "$@"
fi
exec "$build/kvr5507" "$@"
