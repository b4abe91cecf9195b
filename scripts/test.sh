#!/usr/bin/env bash
# Installs what is missing, then checks and tests everything, warnings as errors throughout:
#   1. the formatting of every tracked .cpp and .h file (scripts/check-format.sh);
#   2. an optimised build of everything (GUI, tests, benchmarks) and every test;
#   3. a build without the GUI (-DMOZU_GUI=OFF): the core, mozu-cli and the non-GUI tests
#      must build without Qt Widgets;
#   4. a clang build with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer's coverage,
#      every test again (the fuzz targets replay their seeds and crash files as libFuzzer
#      programs), then a short seeded fuzzing run of every target (scripts/fuzz.sh --all).
# The optimised tree also replays every reader's corpus under Valgrind's memcheck (ctest label
# memcheck), which sees reads of bytes never written that the sanitizers cannot.
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
# Built with clang, so that the same tree also links the fuzz targets with libFuzzer.
CXX=clang++ "$root/scripts/build.sh" "$root/build-asan" -DMOZU_WERROR=ON -DMOZU_SANITIZERS=ON \
  -DMOZU_FUZZ=ON -DMOZU_BENCH=OFF -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$root/build-asan" --no-tests=error --output-on-failure --parallel "$jobs"
# 25 seconds a target, seeded: a reader that a change made crash fails the run.
MOZU_FUZZ_BUILD="$root/build-asan" "$root/scripts/fuzz.sh" --all 25
