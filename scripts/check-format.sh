#!/usr/bin/env bash
# Checks every tracked .cpp and .h file against .clang-format with Debian's clang-format and
# lists the files it would change (fix them with clang-format -i). Exits 1 if there are any.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
# Tracked files still on disc (one deleted but not yet committed is no longer ours to check).
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
# One clang-format run for all of them: it names each place it would change as
# "FILE:LINE:COLUMN: warning: code should be clang-formatted".
report=$(printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run 2>&1) || {
  echo "clang-format failed:"
  echo "$report"
  exit 1
}
mapfile -t unformatted < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if ((${#unformatted[@]})); then
  echo "clang-format would change ${#unformatted[@]} file(s):"
  printf '  %s\n' "${unformatted[@]}"
  exit 1
fi
echo "Formatting: ${#files[@]} files as .clang-format wants them."
