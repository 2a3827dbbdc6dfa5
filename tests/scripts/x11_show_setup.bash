# Sourced by the tests that play a show in an X display: skips (status 77)
# without the X tools, then works in a fresh folder that goes away at the
# end. Packs show.json (written by the caller) into ./show and renders its
# slides into ./renders at 640x480 with pack_and_render.
source "$(dirname "${BASH_SOURCE[0]}")/x11_common.bash"
x11_setup import compare convert

pack_and_render() {
  "$bin/pellora" pack show.json -o show || exit 1
  "$bin/pellora" render show --out renders --size 640x480 || exit 1
}
