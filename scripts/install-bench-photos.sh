#!/usr/bin/env bash
# Installs the photographs mozu_quality_bench measures: Debian's Plasma wallpapers (about 94 MB,
# under /usr/share/wallpapers). The benchmark skips any that are missing and says so; nothing
# else needs them, so neither the build nor CI installs them.
set -euo pipefail
if [ -d /usr/share/wallpapers/ColorfulCups ]; then
  echo "plasma-workspace-wallpapers is installed"
  exit 0
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends \
  plasma-workspace-wallpapers
