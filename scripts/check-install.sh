#!/usr/bin/env bash
# Installs a built tree into a temporary DESTDIR and checks it as a desktop would read it: every
# file in its place, the desktop entry (desktop-file-validate), the AppStream metainfo
# (appstreamcli validate --no-net), the MIME package (xmllint, update-mime-database), the
# manual pages (man --warnings), and the installed mozu-cli and mozu-thumbnailer at work on the
# installed sample picture, run from the temporary tree (nothing of the build folder is used).
# Usage: scripts/check-install.sh [BUILD_DIR]   (default: build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest/root" cmake --install "$build" --prefix /usr >/dev/null
usr="$dest/root/usr"
id=org.mozu.Mozu

fail() { echo "check-install: $*" >&2; exit 1; }
check() {  # runs a validator; its report is shown when it fails
  local out
  out=$("$@" 2>&1) || fail "$(basename "${@: -1}"): $out"
}

echo "check-install: files"
expected=(
  bin/mozu bin/mozu-cli bin/mozu-thumbnailer lib/mozu/mozu-cli-video.so
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/mime/packages/mozu.xml share/thumbnailers/mozu.thumbnailer
  share/man/man1/mozu.1.gz share/man/man1/mozu-cli.1.gz share/man/man1/mozu-thumbnailer.1.gz
  share/bash-completion/completions/mozu-cli share/bash-completion/completions/mozu
  share/mozu/samples/sample.jpg share/mozu/samples/README.md
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=(share/icons/hicolor/${size}x$size/apps/$id.png)
done
for f in "${expected[@]}"; do [ -s "$usr/$f" ] || fail "missing $f"; done
for f in mozu mozu-cli mozu-thumbnailer; do [ -x "$usr/bin/$f" ] || fail "bin/$f is not executable"; done
# Nothing may point back into the build folder.
for f in mozu mozu-cli mozu-thumbnailer; do
  ! readelf --dynamic "$usr/bin/$f" | grep -E 'R(UN)?PATH' | grep -q "$build" ||
    fail "bin/$f has a run path into $build"
done

echo "check-install: desktop entry, metainfo, MIME package, manual pages"
check desktop-file-validate "$usr/share/applications/$id.desktop"
check appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml"
check xmllint --noout "$usr/share/metainfo/$id.metainfo.xml"
check xmllint --noout "$usr/share/mime/packages/mozu.xml"
complaints=$(XDG_DATA_HOME="$usr/share" update-mime-database -V "$usr/share/mime" 2>&1 |
  grep -v '^Updating\|^Parsing\|^Wrote\|^$' || true)
[ -z "$complaints" ] || fail "update-mime-database: $complaints"
for page in "$usr"/share/man/man1/*.1.gz; do
  out=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man -l $page failed"
  [ -z "$out" ] || fail "$(basename "$page"): $out"
done
# The entries name what is installed: their programs, the icon, and types the package declares
# (or the standard picture and video types the system knows).
grep -q "^Icon=$id$" "$usr/share/applications/$id.desktop" || fail "the desktop entry's icon is not $id"
declared=$(grep -o 'mime-type type="[^"]*"' "$usr/share/mime/packages/mozu.xml" | cut -d'"' -f2)
for entry in "$usr/share/applications/$id.desktop" "$usr/share/thumbnailers/mozu.thumbnailer"; do
  program=$(sed -n 's/^TryExec=//p' "$entry")
  [ -x "$usr/bin/$program" ] || fail "$(basename "$entry"): $program is not installed"
  for type in $(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' '); do
    case $type in
      *amstrad* | *symbos*)
        grep -qx "$type" <<<"$declared" || fail "$(basename "$entry"): $type is not declared" ;;
      *)
        grep -qx "$type" <<<"$declared" ||
          grep -q ":$type:" /usr/share/mime/globs2 ||
          fail "$(basename "$entry"): $type is no known type" ;;
    esac
  done
done

echo "check-install: the installed programs on the installed sample"
work="$dest/work"
mkdir "$work"
"$usr/bin/mozu-cli" convert "$usr/share/mozu/samples/sample.jpg" -o "$work/sample" --format all >/dev/null
for suffix in 0.rim 1.rim 2.rim 0.sca 1.sca 2.sca 0.lvl 1.lvl C.sgx 1.sgx 7.sgx M.sgx; do
  [ -s "$work/sample$suffix" ] || fail "mozu-cli did not write sample$suffix"
done
"$usr/bin/mozu-thumbnailer" -s 128 "$work/sample0.rim" "$work/thumb.png"
[ "$(head -c 8 "$work/thumb.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
  fail "mozu-thumbnailer wrote no PNG"
head -c 100 "$work/sample0.rim" >"$work/cut.rim"
if "$usr/bin/mozu-thumbnailer" "$work/cut.rim" "$work/none.png" 2>/dev/null || [ -e "$work/none.png" ]; then
  fail "mozu-thumbnailer made a thumbnail of a file it cannot show"
fi
echo "check-install: all good"
