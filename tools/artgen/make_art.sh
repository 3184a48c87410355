#!/usr/bin/env bash
# Builds the artwork generator in build/artgen and regenerates every skin picture and the busy
# animation into resources/pictures, and the desktop icon at every size the package installs into
# packaging/icons. Extra arguments go to the generator (--preview DIR also writes page mock-ups and
# a contact sheet there).
# Fonts: DejaVu Sans (fonts-dejavu-core) and DejaVu Sans Condensed (fonts-dejavu-extra).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build/artgen"
cmake -S "$root/tools/artgen" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
QT_QPA_PLATFORM=offscreen "$build/artgen" "$root/resources/pictures" --icons "$root/packaging/icons" "$@"
