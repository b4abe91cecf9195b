#!/usr/bin/env bash
# Runs the libFuzzer targets of tests/fuzz in a tree built with clang and -DMOZU_FUZZ=ON
# (CI's sanitizer tree, build-asan; another with MOZU_FUZZ_BUILD=DIR).
#
#   scripts/fuzz.sh TARGET MINUTES   a campaign of one target (open_file, cpc_reader, sgx_reader,
#                                    vid_reader, bmp_loader, jpeg_loader, png_loader,
#                                    gif_loader, tga_loader, pnm_loader, screen_dump, ffmpeg_source,
#                                    cli_options); its corpus grows in DIR/tests/fuzz/corpus/TARGET
#   scripts/fuzz.sh --all SECONDS    every target for SECONDS each, seeded and from the seeds
#                                    alone, so that a run repeats (CI)
#
# A crash, leak, timeout or out-of-memory is written to tests/fuzz/crashes/TARGET/, its report
# is shown and the script fails. Commit the file with the fix: ctest replays it from then on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOZU_FUZZ_BUILD:-$root/build-asan}
targets=(open_file cpc_reader sgx_reader vid_reader bmp_loader jpeg_loader png_loader gif_loader
         tga_loader pnm_loader screen_dump ffmpeg_source cli_options)

# run TARGET SECONDS CORPUS [libFuzzer options...]
run() {
  local target=$1 seconds=$2 corpus=$3; shift 3
  local program=$build/tests/fuzz/mozu_fuzz_$target
  local crashes=$root/tests/fuzz/crashes/$target
  [ -x "$program" ] || { echo "fuzz.sh: $program is missing (build with -DMOZU_FUZZ=ON)" >&2; exit 2; }
  mkdir -p "$corpus" "$crashes"
  local options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=2048
                 -max_len=65536 -print_final_stats=1 -artifact_prefix="$crashes/")
  [ -f "$root/tests/fuzz/dicts/$target.dict" ] && options+=(-dict="$root/tests/fuzz/dicts/$target.dict")
  # The command line's target runs the commands, whose messages would drown the log.
  if [ "$target" = cli_options ]; then options+=(-close_fd_mask=3); else options+=(-close_fd_mask=1); fi
  local marker log rc
  marker=$(mktemp)
  log=$(mktemp)
  echo "== fuzzing $target for ${seconds}s"
  set +e
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$program" "${options[@]}" "$@" "$corpus" "$build/tests/fuzz/seeds/$target" >"$log" 2>&1
  rc=$?
  set -e
  grep -E '^(#[0-9]+.*DONE|Done|stat::|INFO: seed)' "$log" || tail -n 5 "$log"
  local found
  found=$(find "$crashes" -type f -newer "$marker" ! -name .keep)
  rm -f "$marker"
  if [ "$rc" != 0 ] || [ -n "$found" ]; then
    echo "fuzz.sh: $target failed (exit $rc)" >&2
    tail -n 60 "$log" >&2
    for f in $found; do
      echo "--- $f: replayed" >&2
      "$program" -runs=1 "$f" 2>&1 | tail -n 40 >&2 || true
    done
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
}

case "${1:-}" in
  --all)
    seconds=${2:?usage: scripts/fuzz.sh --all SECONDS}
    status=0
    for t in "${targets[@]}"; do
      scratch=$(mktemp -d)
      run "$t" "$seconds" "$scratch" -seed=1 || status=1
      rm -rf "$scratch"
    done
    exit $status
    ;;
  ""|-h|--help)
    sed -n '2,14p' "$0"
    exit 2
    ;;
  *)
    target=$1
    minutes=${2:?usage: scripts/fuzz.sh TARGET MINUTES}
    run "$target" "$((minutes * 60))" "$build/tests/fuzz/corpus/$target"
    ;;
esac
