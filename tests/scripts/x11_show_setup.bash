# Sourced by the tests that play a show in an X display: skips (status 77)
# without the X tools, then works in a fresh folder that goes away at the
# end. Packs show.json (written by the caller) into ./show and renders its
# slides into ./renders at 640x480 with pack_and_render.
set -u
for tool in xvfb-run xdotool import compare convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done
bin="${PELLORA_BIN_DIR:?}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

pack_and_render() {
  "$bin/pellora" pack show.json -o show || exit 1
  "$bin/pellora" render show --out renders --size 640x480 || exit 1
}
