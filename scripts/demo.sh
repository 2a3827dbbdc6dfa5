#!/usr/bin/env bash
# Builds Pellora, packs the demo show and plays it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
out=build/demo
mkdir -p "$out"
build/bin/pellora pack demo/show.json -o "$out/demo-show"
echo "Packed $out/demo-show"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): describing the show instead of playing it."
  build/bin/pellora info "$out/demo-show"
  exit 0
fi
exec "$out/demo-show"
