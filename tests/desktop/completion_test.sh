#!/usr/bin/env bash
# mozu-cli's bash completion: it offers what `mozu-cli COMMAND --help` lists, no more, no less,
# and completes commands, options, format lists and the colour count.
# And mozu's: the files it opens.
# Usage: completion_test.sh COMPLETION_FILE MOZU_CLI MOZU_COMPLETION_FILE
set -uo pipefail
script=$1 cli=$2 mozu_script=$3
[ -f /usr/share/bash-completion/bash_completion ] || { echo "no bash-completion: skipped"; exit 77; }
# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
# shellcheck disable=SC1090
source "$script"
# shellcheck disable=SC1090
source "$mozu_script"

status=0
fail() { echo "FAIL $*"; status=1; }

# COMPREPLY for the command line in "$@", the last word being completed.
complete_words() {
  COMP_WORDS=(mozu-cli "$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _mozu_cli
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() {
  local want=$1; shift
  local got
  got=$(complete_words "$@")
  [ "$got" = "$want" ] && echo "ok   mozu-cli $*: $got" || fail "mozu-cli $*: '$got', not '$want'"
}

expect "convert " con
expect "--force --format " convert --fo
expect "mode0,overscan0 mode0,overscan1 mode0,overscan2 " convert --format mode0,ov
expect "16 4 " video --colors ""
expect "--raw " export --r

# mozu offers the pictures, screens and videos of a folder, not its other files.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
touch "$tmp/a.rim" "$tmp/b.JPG" "$tmp/c.vid" "$tmp/notes.txt"
got=$(cd "$tmp" && COMP_WORDS=(mozu "") COMP_CWORD=1 COMP_LINE="mozu " COMP_POINT=5 &&
  COMPREPLY=() && _mozu && printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
[ "$got" = "a.rim b.JPG c.vid " ] && echo "ok   mozu: $got" || fail "mozu: '$got'"

# Every option of every command's --help, and only those.
for command in $_mozu_cli_commands; do
  help=$("$cli" "$command" --help) || fail "$command --help"
  from_help=$(grep -oE '(^|[ ,])--?[a-z][a-z-]*' <<<"$help" | tr -d ' ,' | sort -u | tr '\n' ' ')
  offered=$(tr ' ' '\n' <<<"${_mozu_cli_options[$command]}" | grep . | sort -u | tr '\n' ' ')
  [ "$from_help" = "$offered" ] && echo "ok   $command: $offered" ||
    fail "$command: --help lists '$from_help', the completion offers '$offered'"
done
# And every command of the overview.
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | awk 'NR > 1 && /^  [a-z]/ {print $1}' | sort -u | tr '\n' ' ')
wanted=$(tr ' ' '\n' <<<"$_mozu_cli_commands" | sort | tr '\n' ' ')
[ "$commands" = "$wanted" ] && echo "ok   commands: $commands" ||
  fail "commands: --help lists '$commands', the completion '$wanted'"
exit $status
