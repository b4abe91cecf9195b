#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: once in an optimised build, once with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

"$root/scripts/build.sh" "$root/build" -DMOZU_BENCH=ON
ctest --test-dir "$root/build" --output-on-failure --parallel "$jobs"

"$root/scripts/build.sh" "$root/build-asan" -DMOZU_SANITIZERS=ON -DMOZU_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs"
