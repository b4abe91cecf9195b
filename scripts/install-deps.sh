#!/usr/bin/env bash
# Installs the Debian 12 packages Mozu needs to build, test and run; does nothing when all are there.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache clang-format
  qt6-base-dev libjpeg-dev libpng-dev libgif-dev libstb-dev libcli11-dev libwebp-dev libtiff-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core libjpeg-turbo-progs
  desktop-file-utils appstream libxml2-utils shared-mime-info xdg-utils libglib2.0-bin man-db
  bash-completion dpkg-dev
  clang libclang-rt-dev valgrind
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
