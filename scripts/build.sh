#!/usr/bin/env bash
# Configures and builds one tree. Usage: scripts/build.sh DIR [extra cmake options...]
# Compiles through ccache when it is installed; trees of the same build type then share every
# object whose compile command is the same (the core's libraries, most test programs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Objects are shared across build folders and clones of the project (CI builds in a fresh
  # clone): paths under the project's folder are hashed relative to it, and debug information
  # does not tie an object to the folder it was built in.
  export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true
fi
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
