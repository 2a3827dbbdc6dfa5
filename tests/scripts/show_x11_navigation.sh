#!/usr/bin/env bash
# The self-running show in a real X display: after each navigation key the
# screen equals the image `pellora render` makes of that slide, and Escape
# ends the program with status 0 and no window left.
source "$(dirname "$0")/x11_show_setup.bash"

convert -size 200x150 gradient:red-yellow BMP3:a.bmp
convert -size 120x160 plasma:fractal -seed 4 -quality 90 b.jpg 2>/dev/null || convert -size 120x160 gradient:green-blue -quality 90 b.jpg
convert -size 300x90 xc:white -fill black -draw "circle 150,45 150,10" BMP3:c.bmp
cat > show.json <<'JSON'
{"title": "", "loopShow": 1,
 "background": {"kind": "gradient", "colourA": "#102030", "colourB": "#806040", "horizontal": true},
 "pictureMargin": 20,
 "slides": [
  {"picture": "a.bmp", "fit": "none", "advance": "manual", "transition": 2},
  {"picture": "b.jpg", "fit": "keep-ratio", "advance": "manual", "transition": 9},
  {"picture": "c.bmp", "fit": "stretch", "advance": "manual", "transition": 18}]}
JSON
pack_and_render

cat > drive.sh <<'DRIVE'
set -u
./show & pid=$!
xdotool search --sync --onlyvisible --name "Quorvel Pellora" >/dev/null
failures=0
check() {  # screenshot after the transition, compared with a rendered slide
  sleep 3
  import -window root "shot-$1.png"
  diff=$(compare -metric AE "shot-$1.png" "renders/slide-00$2.png" null: 2>&1)
  if [ "$diff" != "0" ]; then echo "after $1: $diff pixels differ from slide $2"; failures=$((failures + 1)); fi
}
check start 1
xdotool key Right; check right 2
xdotool key Right; check right-again 3
xdotool key Right; check wrap 1
xdotool key End; check end 3
xdotool key Left; check left 2
xdotool key Home; check home 1
xdotool key Escape
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "Escape did not end the show"; kill $pid; exit 1; fi
wait $pid; status=$?
[ $status -eq 0 ] || { echo "exit status $status"; failures=$((failures + 1)); }
if xdotool search --onlyvisible --name "Quorvel Pellora" >/dev/null 2>&1; then echo "a window is left"; failures=$((failures + 1)); fi
exit $failures
DRIVE
in_x_display 640x480 timeout 120 bash drive.sh
status=$?
[ $status -eq 0 ] && echo "navigation screenshots match the rendered slides"
exit $status
