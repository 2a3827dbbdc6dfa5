#!/usr/bin/env bash
# Builds Pellora, draws the demo pictures, composes its music and chime,
# packs the demo show and plays it full screen (any key other than the
# arrows, Home and End ends it).
# Without a display it renders the slides to PNG files instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
out=build/demo
mkdir -p "$out"
build/bin/pellora-demo-pictures "$out"
build/bin/pellora-demo-sounds "$out"
cp demo/show.json "$out/show.json"
build/bin/pellora pack "$out/show.json" -o "$out/demo-show"
echo "Packed $out/demo-show"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): rendering the slides instead of playing them."
  build/bin/pellora render "$out/demo-show" --out "$out/render"
  echo "The screen images are in $out/render:"
  ls "$out/render"
  exit 0
fi
exec "$out/demo-show"
