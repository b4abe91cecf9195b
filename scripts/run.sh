#!/usr/bin/env bash
# Installs what is missing, builds Mozu and opens the bundled sample picture. Without a display
# it converts the sample with mozu-cli instead and says where the files went.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
sample="$root/samples/sample.jpg"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$root/build/app/mozu" ]; then
  exec "$root/build/app/mozu" "$sample"
fi
out="$root/build/sample-output"
mkdir -p "$out"
"$root/build/cli/mozu-cli" convert "$sample" -o "$out/sample" --format all --force
echo "No display found: converted $sample with mozu-cli."
echo "The files are in $out:"
ls -l "$out"
