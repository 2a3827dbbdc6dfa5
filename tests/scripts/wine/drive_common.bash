# Sourced by the scripts that drive the Windows player in the X display.
set -u
failures=0
fail() { echo "$*"; failures=$((failures + 1)); }
# start_show: starts show.exe under Wine and waits up to 60 s for its
# window; the test ends when it does not come.
start_show() {
  wine show.exe 2>player.err & pid=$!
  for _ in $(seq 600); do
    xdotool search --onlyvisible --name "Quorvel Pellora" >/dev/null 2>&1 && return 0
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  fail "no window came: $(tail -3 player.err)"
  kill $pid 2>/dev/null
  exit $failures
}
# same_as SHOT SLIDE: the screen, after a transition's time, equals the
# rendered slide SLIDE (1, 2, ...).
same_as() {
  sleep "${settle:-3}"
  import -window root "shot-$1.png"
  local diff
  diff=$(compare -metric AE "shot-$1.png" "renders/slide-00$2.png" null: 2>&1)
  [ "$diff" = "0" ] || fail "$1: $diff pixels differ from slide $2"
}
# end_show KEY: the key ends the program within ten seconds, with status 0.
end_show() {
  xdotool key "$1"
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then fail "$1 did not end the show"; kill $pid; fi
  wait $pid; local status=$?
  [ $status -eq 0 ] || fail "exit status $status after $1 ($(tail -3 player.err))"
}
