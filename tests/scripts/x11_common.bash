# Sourced by the setups of the tests that play a show in an X display.
# x11_setup TOOL...: skips (status 77) when a tool is missing, then works
# in a fresh folder that goes away at the end; bin names the programs.
set -u
x11_setup() {
  for tool in xvfb-run xdotool "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
  done
  bin="${PELLORA_BIN_DIR:?}"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cd "$work" || exit 1
}
