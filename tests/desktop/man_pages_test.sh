#!/usr/bin/env bash
# The manual pages render without a warning and name every command and option the programs'
# --help lists.
# Usage: man_pages_test.sh MAN_FOLDER MOZU_CLI MOZU_THUMBNAILER
set -uo pipefail
dir=$1 cli=$2 thumbnailer=$3
command -v man >/dev/null || { echo "no man: skipped"; exit 77; }
status=0
fail() { echo "FAIL $*"; status=1; }

for page in "$dir"/*.1; do
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] && echo "ok   $(basename "$page") renders" ||
    { fail "$(basename "$page"):"; echo "$warnings"; }
done

# The options of a --help text, as troff writes them ("\-\-format").
options_of() { grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u; }
# (grep reads the whole page: with -q it would stop early and fail sed under pipefail.)
in_page() { sed 's/\\-/-/g' "$1" | grep -cE -- "(^|[^a-z-])$2([^a-z-]|$)" >/dev/null; }

for command in convert info export video; do
  grep -q "^\.SS \"$command " "$dir/mozu-cli.1" || fail "mozu-cli.1 has no section for $command"
  for option in $("$cli" "$command" --help | options_of); do
    in_page "$dir/mozu-cli.1" "$option" || fail "mozu-cli.1 does not name $command $option"
  done
done
for option in $("$thumbnailer" --help | options_of); do
  in_page "$dir/mozu-thumbnailer.1" "$option" || fail "mozu-thumbnailer.1 does not name $option"
done
[ $status = 0 ] && echo "ok   every option is in its page"
exit $status
