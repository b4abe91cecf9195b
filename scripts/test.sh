#!/usr/bin/env bash
# Installs what is missing, then checks and tests everything, warnings as errors throughout:
#   1. the formatting of every tracked .cpp and .h file (scripts/check-format.sh);
#   2. an optimised build of everything (GUI, tests, benchmarks) and every test;
#   3. a build without the GUI (-DMOZU_GUI=OFF): the core, mozu-cli and the non-GUI tests
#      must build without Qt Widgets;
#   4. a build with AddressSanitizer and UndefinedBehaviorSanitizer and every test again.
# The GUI tests choose Qt's offscreen platform themselves unless QT_QPA_PLATFORM names one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

"$root/scripts/check-format.sh"

"$root/scripts/build.sh" "$root/build" -DMOZU_WERROR=ON -DMOZU_BENCH=ON
ctest --test-dir "$root/build" --no-tests=error --output-on-failure --parallel "$jobs"
"$root/scripts/check-install.sh" "$root/build"

"$root/scripts/build.sh" "$root/build-nogui" -DMOZU_WERROR=ON -DMOZU_GUI=OFF -DMOZU_BENCH=OFF
test -x "$root/build-nogui/cli/mozu-cli"

# -O1 with line tables only: the sanitizers need no more, and the tree compiles in far less time.
"$root/scripts/build.sh" "$root/build-asan" -DMOZU_WERROR=ON -DMOZU_SANITIZERS=ON -DMOZU_BENCH=OFF \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --no-tests=error --output-on-failure --parallel "$jobs"
