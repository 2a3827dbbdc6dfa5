#!/usr/bin/env bash
# The password lock in a real X display, typed through the keyboard: the
# right password opens the show, a wrong one ends the program after the
# refusal message.
source "$(dirname "$0")/x11_show_setup.bash"

convert -size 160x120 gradient:blue-white BMP3:a.bmp
cat > show.json <<'JSON'
{"password": "Sesame20", "background": {"kind": "colour", "plainColour": "#204060"},
 "slides": [{"picture": "a.bmp", "fit": "keep-ratio", "advance": "manual", "transition": 1}]}
JSON
pack_and_render

cat > drive.sh <<'DRIVE'
set -u
failures=0
wait_gone() {  # the process ends by itself within five seconds
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
# The right password opens the show.
./show 2>/dev/null & pid=$!
xdotool search --sync --onlyvisible --name "Quorvel Pellora" >/dev/null
sleep 1
xdotool type --delay 50 "Sesame20"; xdotool key Return
sleep 2
import -window root open.png
diff=$(compare -metric AE open.png renders/slide-001.png null: 2>&1)
[ "$diff" = "0" ] || { echo "the opened show differs from the slide in $diff pixels"; failures=$((failures + 1)); }
xdotool key Escape
wait_gone $pid || { echo "Escape did not end the show"; kill $pid; failures=$((failures + 1)); }
wait $pid; [ $? -eq 0 ] || { echo "bad exit status after Escape"; failures=$((failures + 1)); }
# A wrong password: the refusal, then the end.
./show 2>err.txt & pid=$!
xdotool search --sync --onlyvisible --name "Quorvel Pellora" >/dev/null
sleep 1
xdotool type --delay 50 "sesame20"; xdotool key Return
sleep 1
kill -0 $pid 2>/dev/null || { echo "the program ended before the message was dismissed"; failures=$((failures + 1)); }
grep -q "Mot de passe incorrect" err.txt || { echo "no refusal message"; failures=$((failures + 1)); }
xdotool key Return
wait_gone $pid || { echo "the program did not end after the message"; kill $pid; failures=$((failures + 1)); }
wait $pid; [ $? -eq 1 ] || { echo "bad exit status after the refusal (want 1)"; failures=$((failures + 1)); }
exit $failures
DRIVE
in_x_display 640x480 timeout 120 bash drive.sh
status=$?
[ $status -eq 0 ] && echo "the password lock opens and refuses as it should"
exit $status
