# Bash completion for mozu: one file to open, of a kind Mozu reads.
_mozu() {
  local cur prev words cword
  _init_completion || return
  # Only the first argument is opened.
  ((cword == 1)) || return
  _filedir '@(bmp|BMP|jpg|JPG|jpeg|JPEG|png|PNG|gif|GIF|tga|TGA|ppm|PPM|pgm|PGM|pnm|PNM|webp|WEBP|tif|TIF|tiff|TIFF|rim|RIM|scr|SCR|bin|BIN|sca|SCA|lvl|LVL|sgx|SGX|vid|VID|avi|AVI|divx|DIVX|xvid|XVID|vob|VOB|mov|MOV|wmv|WMV|rmvb|RMVB|mpg|MPG|mpeg|MPEG)'
} &&
  complete -F _mozu mozu
