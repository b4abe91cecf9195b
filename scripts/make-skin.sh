#!/usr/bin/env bash
# Rebuilds the skin: compiles the generator in scripts/skin and runs it, which rewrites the
# PNGs and skin.qrc in skin/pictures/ and the program's icons in desktop/icons/. Commit the
# pictures it changes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${MOZU_SKIN_BUILD:-$root/build-skin}"
cmake -S "$root/scripts/skin" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2
rm -f "$root"/skin/pictures/*.png
rm -rf "$root/desktop/icons/hicolor"
QT_QPA_PLATFORM=offscreen "$build/make_skin" "$root/skin/pictures" "$root/desktop/icons" org.mozu.Mozu
