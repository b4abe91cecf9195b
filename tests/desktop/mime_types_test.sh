#!/usr/bin/env bash
# The MIME package names Mozu's types: by extension for a file of every kind mozu-cli writes,
# and by the files' first bytes for the kinds that have magic, once renamed without an
# extension. Uses update-mime-database on a temporary tree and xdg-mime (through GIO).
# Usage: mime_types_test.sh MIME_XML MOZU_CLI SAMPLE_PICTURE
set -euo pipefail
xml=$1 cli=$2 sample=$3
for tool in update-mime-database xdg-mime gio; do
  command -v "$tool" >/dev/null || { echo "no $tool: skipped"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/data/mime/packages" "$tmp/files"
cp "$xml" "$tmp/data/mime/packages/mozu.xml"
# Any complaint about the package (an unknown element, a bad magic value) fails the test.
complaints=$(XDG_DATA_HOME="$tmp/data" update-mime-database -V "$tmp/data/mime" 2>&1 | grep -v "^Updating\|^Parsing\|^Wrote\|^$" || true)
if [ -n "$complaints" ]; then
  echo "update-mime-database complained:"; echo "$complaints"; exit 1
fi

cd "$tmp/files"
"$cli" convert "$sample" -o pic --format all >/dev/null
# A SymbOS video is known by its first 8 bytes; the rest of the 512-byte header stays zero.
{ printf 'SymVid10'; head -c 504 /dev/zero; } >clip.vid

status=0
type_of() {
  # xdg-mime asks GIO on GNOME; GIO reads the database in XDG_DATA_HOME first.
  XDG_DATA_HOME="$tmp/data" XDG_CURRENT_DESKTOP=GNOME xdg-mime query filetype "$1"
}
expect() {
  local file=$1 want=$2 got
  got=$(type_of "$file")
  if [ "$got" = "$want" ]; then
    echo "ok   $file: $got"
  else
    echo "FAIL $file: $got, not $want"
    status=1
  fi
}
expect pic0.rim image/x-amstrad-cpc-screen
expect pic1.rim image/x-amstrad-cpc-screen
expect pic2.rim image/x-amstrad-cpc-screen
expect pic0.sca image/x-amstrad-cpc-overscan
expect pic1.sca image/x-amstrad-cpc-overscan
expect pic2.sca image/x-amstrad-cpc-overscan
expect pic0.lvl image/x-amstrad-cpc-level
expect pic1.lvl image/x-amstrad-cpc-level
expect picC.sgx image/x-symbos-graphics
expect pic1.sgx image/x-symbos-graphics
expect pic7.sgx image/x-symbos-graphics
expect picM.sgx image/x-symbos-graphics
expect clip.vid video/x-symbos-video
# .scr and .bin, which no glob claims, and no extension at all: the AMSDOS header and the
# video's mark decide.
cp pic0.rim pic0.scr; cp pic2.rim pic2.bin
expect pic0.scr image/x-amstrad-cpc-screen
expect pic2.bin image/x-amstrad-cpc-screen
cp pic1.rim screen; cp pic2.sca overscan; cp pic0.lvl level; cp clip.vid video
expect screen image/x-amstrad-cpc-screen
expect overscan image/x-amstrad-cpc-overscan
expect level image/x-amstrad-cpc-level
expect video video/x-symbos-video
# The magic is narrow: a binary loaded at &8000 instead of the screen's &C000 is no screen.
cp screen binary
printf '\x00\x80' | dd of=binary bs=1 seek=21 conv=notrunc status=none
got=$(type_of binary)
case $got in
  image/x-amstrad-* | image/x-symbos-* | video/x-symbos-*) echo "FAIL binary: $got"; status=1 ;;
  *) echo "ok   binary: $got" ;;
esac
exit $status
