# Bash completion for mozu-cli. The tables below hold each command's options as its --help
# lists them: to add an option, add it to its command's list (and to _mozu_cli_takes_value if
# a value follows it); a new command needs a line in each table.

_mozu_cli_commands="convert info export video"

declare -A _mozu_cli_options=(
  [convert]="-o --output --format --dither --exact --autobalance --brighter --darker --more-contrast --less-contrast --background -j --jobs --mode --force --method --palette --pens -h --help"
  [info]="-j --jobs --json --mode -h --help"
  [export]="-o --output --raw --frame --background -j --jobs --mode -h --help"
  [video]="-o --output --colors --start --end --autobalance --title --info --force --method --palette --pens -h --help"
)

# Options followed by a value, per command.
declare -A _mozu_cli_takes_value=(
  [convert]="-o --output --format --brighter --darker --more-contrast --less-contrast --background -j --jobs --mode --method --palette --pens"
  [info]="-j --jobs --mode"
  [export]="-o --output --frame --background -j --jobs --mode"
  [video]="-o --output --colors --start --end --title --info --method --palette --pens"
)

_mozu_cli_formats="mode0 mode1 mode2 overscan0 overscan1 overscan2 sgx-cpc sgx-cpc-full sgx-msx sgx-msx-full all"

# What each command reads, as extended globs of file names.
declare -A _mozu_cli_inputs=(
  [convert]='@(bmp|BMP|jpg|JPG|jpeg|JPEG|png|PNG|gif|GIF|tga|TGA|ppm|PPM|pgm|PGM|pnm|PNM|webp|WEBP|tif|TIF|tiff|TIFF|rim|RIM|scr|SCR|bin|BIN|sca|SCA|lvl|LVL|sgx|SGX)'
  [info]=''
  [export]='@(bmp|BMP|jpg|JPG|jpeg|JPEG|png|PNG|gif|GIF|tga|TGA|ppm|PPM|pgm|PGM|pnm|PNM|webp|WEBP|tif|TIF|tiff|TIFF|rim|RIM|scr|SCR|bin|BIN|sca|SCA|lvl|LVL|sgx|SGX|vid|VID|avi|AVI|mpg|MPG|mpeg|MPEG|mov|MOV|wmv|WMV|vob|VOB|divx|DIVX|xvid|XVID|rmvb|RMVB|mp4|MP4|mkv|MKV)'
  [video]=''
)

_mozu_cli() {
  local cur prev words cword
  _init_completion || return

  local command="" i
  for ((i = 1; i < cword; i++)); do
    if [[ " $_mozu_cli_commands " == *" ${words[i]} "* ]]; then
      command=${words[i]}
      break
    fi
  done
  if [[ -z $command ]]; then
    COMPREPLY=($(compgen -W "$_mozu_cli_commands --help" -- "$cur"))
    return
  fi

  if [[ " ${_mozu_cli_takes_value[$command]} " == *" $prev "* ]]; then
    case $prev in
      --format)
        # A comma list: complete the name after the last comma.
        local done_part="" last=$cur
        if [[ $cur == *,* ]]; then
          done_part=${cur%,*},
          last=${cur##*,}
        fi
        COMPREPLY=($(compgen -P "$done_part" -W "$_mozu_cli_formats" -- "$last"))
        compopt -o nospace 2>/dev/null  # more formats may follow a comma
        ;;
      --colors) COMPREPLY=($(compgen -W "4 16" -- "$cur")) ;;
      --mode) COMPREPLY=($(compgen -W "0 1 2" -- "$cur")) ;;
      -o | --output)
        if [[ $command == export ]]; then _filedir '@(png|PNG)'; else _filedir; fi
        ;;
      *) ;;  # a number or a text: nothing to offer
    esac
    return
  fi

  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "${_mozu_cli_options[$command]}" -- "$cur"))
    return
  fi
  _filedir "${_mozu_cli_inputs[$command]}"
} &&
  complete -F _mozu_cli mozu-cli
