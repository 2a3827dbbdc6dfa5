#!/usr/bin/env bash
# A show ended by a termination signal (terminate, hang-up, interrupt)
# while its embedded sound plays, in a real X display: it ends normally,
# with status 0, and deletes its temporary sound file.
source "$(dirname "$0")/x11_sound_setup.bash"
cat > show.json <<'JSON'
{"title": "", "music": "chime.wav",
 "background": {"kind": "colour", "plainColour": "#000000"},
 "slides": [{"picture": "sunset.bmp", "duration": 30, "transition": 1}]}
JSON
for signal in TERM HUP INT; do
  play_show 1 $signal
  before=$failures
  ended_clean
  [ $failures -eq $before ] && echo "SIG$signal ended the show and removed its temporary file"
done
exit $failures
