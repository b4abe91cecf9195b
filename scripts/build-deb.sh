#!/usr/bin/env bash
# Builds the Debian package mozu_VERSION_ARCH.deb: the programs without tests or benchmarks in
# BUILD_DIR (default build-deb/), then CPack, which installs them under /usr, strips them and
# has dpkg-shlibdeps find the packages of the libraries they load.
# Usage: scripts/build-deb.sh [BUILD_DIR [cmake options...]]
#   then, as root: apt install ./BUILD_DIR/mozu_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-deb}
shift || true
"$root/scripts/build.sh" "$dir" -DMOZU_TESTS=OFF -DMOZU_BENCH=OFF "$@"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/mozu_*.deb
