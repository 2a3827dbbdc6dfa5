# Sourced by the setups of the tests that play a show in an X display.
# x11_setup TOOL...: skips (status 77) when a tool is missing, then works
# in a fresh folder that goes away at the end; bin names the programs.
set -u
x11_setup() {
  for tool in Xvfb xdotool "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
  done
  bin="${PELLORA_BIN_DIR:?}"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cd "$work" || exit 1
}

# in_x_display WxH COMMAND...: runs COMMAND with DISPLAY set to a private
# Xvfb screen of that size. The server picks a free display number itself
# and reports it once it accepts clients, so tests running side by side
# never meet on one display. Like a bare server, it resets whenever its
# last client leaves (the Linux player copes with that); x11_server_options
# may add options, such as -noreset.
in_x_display() {
  local size=$1 number status
  shift
  rm -f "$work/.display"
  mkfifo "$work/.display"
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -ac ${x11_server_options:-} 3>"$work/.display" 2>"$work/xvfb.log" &
  local server=$!
  if ! read -r -t 30 number < "$work/.display"; then
    echo "Xvfb did not start: $(cat "$work/xvfb.log")"
    kill "$server" 2>/dev/null
    return 1
  fi
  DISPLAY=":$number" "$@"
  status=$?
  kill "$server" 2>/dev/null
  wait "$server" 2>/dev/null
  return $status
}
