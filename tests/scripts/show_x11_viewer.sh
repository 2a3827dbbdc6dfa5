#!/usr/bin/env bash
# pellora play as a viewer uses it in a real X display: a description shows
# the same first screen as its packed show, --window gives a window of that
# size showing that screen, the displays are listed and a missing one is a
# clear error, and a damaged show's message box stays until Enter.
source "$(dirname "$0")/x11_show_setup.bash"

convert -size 160x120 gradient:red-yellow BMP3:a.bmp
cat > show.json <<'JSON'
{"background": {"kind": "colour", "plainColour": "#204060"},
 "slides": [{"picture": "a.bmp", "fit": "keep-ratio", "advance": "manual", "transition": 1}]}
JSON
"$bin/pellora" pack show.json -o show --quiet || exit 1
"$bin/pellora" render show --out full --size 1024x768 || exit 1
"$bin/pellora" render show --out small --size 800x600 || exit 1
head -c 100 show > damaged

cat > drive.sh <<'DRIVE'
set -u
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }
wait_gone() {  # the process ends by itself within five seconds
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
# Each way of playing, and the screen (or window) it must show.
while IFS='|' read -r file options expected; do
  "$bin/pellora" play $options "$file" 2>/dev/null & pid=$!
  window=$(xdotool search --sync --onlyvisible --name "Quorvel Pellora" | head -1)
  sleep 2.5
  if [ -n "$options" ]; then import -window "$window" seen.png; else import -window root seen.png; fi
  diff=$(compare -metric AE seen.png "$expected" null: 2>&1)
  [ "$diff" = "0" ] || fail "play $options $file differs from $expected in $diff pixels"
  xdotool key --window "$window" Escape
  wait_gone $pid || { fail "Escape did not end play $options $file"; kill $pid; }
  wait $pid || fail "bad exit status of play $options $file"
done <<'CASES'
show.json||full/slide-001.png
show||full/slide-001.png
show|--window|small/slide-001.png
show.json|--window 800x600|small/slide-001.png
CASES
"$bin/pellora" play --list-monitors > monitors.txt || fail "--list-monitors failed"
grep -q "^1: 1024x768 at 0,0" monitors.txt || fail "--list-monitors: $(cat monitors.txt)"
"$bin/pellora" play --monitor 2 show 2> err.txt; status=$?
[ $status -eq 1 ] && grep -q "there is no display 2: this desktop has 1" err.txt || fail "--monitor 2: $status $(cat err.txt)"
# The damaged show: its message box is drawn and waits for Enter.
"$bin/pellora" play damaged 2> err.txt & pid=$!
xdotool search --sync --onlyvisible --name "Quorvel Pellora" >/dev/null
sleep 2
kill -0 $pid 2>/dev/null || fail "the program ended before its message box was answered"
import -window root box.png
colours=$(convert box.png -format %k info:)
[ "$colours" -gt 2 ] || fail "no message box on the screen"
xdotool key Return
wait_gone $pid || { fail "Enter did not dismiss the message box"; kill $pid; }
wait $pid; [ $? -eq 1 ] || fail "a damaged show must end with status 1"
grep -q "Unexpected file format.\|Erreur lors du chargement" err.txt || fail "the message is not on standard error"
exit $failures
DRIVE
export bin
in_x_display 1024x768 timeout 180 bash drive.sh
status=$?
[ $status -eq 0 ] && echo "pellora play shows descriptions, windows, displays and message boxes as it should"
exit $status
