#!/usr/bin/env bash
# A show packed for Windows, played by the Windows player under Wine in an
# X display: after the password is typed the screen equals the slide that
# `pellora render` makes on Linux, Right and End give the next slides,
# Escape ends it with status 0; its module music reached waveOut. A second
# show's slide waits for its WAV sound, played through MCI, and moves on
# when it ends. No temporary file is left.
source "$(dirname "$0")/wine_common.bash"
"$bin/pellora-demo-sounds" . || exit 1
convert -size 200x150 gradient:red-yellow BMP3:a.bmp
convert -size 120x160 gradient:green-blue -quality 90 b.jpg
convert -size 300x90 xc:white -fill black -draw "circle 150,45 150,10" BMP3:c.bmp

cat > show.json <<'JSON'
{"title": "", "password": "Sesame20", "music": "tune.mod",
 "background": {"kind": "gradient", "colourA": "#102030", "colourB": "#806040", "horizontal": true},
 "pictureMargin": 20,
 "slides": [
  {"picture": "a.bmp", "fit": "none", "advance": "manual", "transition": 2},
  {"picture": "b.jpg", "fit": "keep-ratio", "advance": "manual", "transition": 9},
  {"picture": "c.bmp", "fit": "stretch", "advance": "manual", "transition": 18}]}
JSON
pack_for_windows
cat > drive.sh <<'DRIVE'
source ./drive_common.bash
start_show
sleep 2
xdotool type --delay 50 "Sesame20"; xdotool key Return
same_as password 1
xdotool key Right; same_as right 2
xdotool key End; same_as end 3
end_show Escape
exit $failures
DRIVE
in_x_display 640x480 timeout 300 bash drive.sh || failures=$((failures + 1))
rms=$(captured_rms)
[ "$rms" -gt 1000 ] || fail "the music did not reach the wave output (rms $rms of $(stat -c %s capture.raw 2>/dev/null || echo 0) bytes)"
[ -z "$(dia_files)" ] || fail "left behind: $(dia_files)"

# The WAV sound's slide moves on when the sound ends, long before its 60 s.
rm -f capture.raw
cat > show.json <<'JSON'
{"title": "", "background": {"kind": "colour", "plainColour": "#000000"},
 "slides": [
  {"picture": "a.bmp", "duration": 60, "transition": 1, "sound": "slide", "soundFile": "chime.wav",
   "advance": "sound-end"},
  {"picture": "c.bmp", "advance": "manual", "transition": 1}]}
JSON
pack_for_windows
cat > drive.sh <<'DRIVE'
source ./drive_common.bash
start_show
settle=8 same_as after-sound 2
end_show Escape
exit $failures
DRIVE
in_x_display 640x480 timeout 300 bash drive.sh || failures=$((failures + 1))
rms=$(captured_rms)
[ "$rms" -gt 1000 ] || fail "the WAV sound did not reach the wave output (rms $rms)"
[ -z "$(dia_files)" ] || fail "left behind: $(dia_files)"

[ $failures -eq 0 ] && echo "the Windows show opened, moved, sounded and ended as on Linux"
exit $failures
