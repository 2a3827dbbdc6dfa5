#!/usr/bin/env bash
# A slide that waits for its own WAV sound, in a real X display with SDL's
# disk audio driver: the chime is heard, and when it ends (2.5 s) the show
# moves on to the next slide, whose music then starts; the chime's
# temporary file is gone at the end.
source "$(dirname "$0")/x11_sound_setup.bash"
cat > show.json <<'JSON'
{"title": "", "loopShow": 0, "music": "tune.mod",
 "background": {"kind": "colour", "plainColour": "#000000"},
 "slides": [
  {"picture": "sunset.bmp", "duration": 30, "transition": 1, "sound": "slide", "soundFile": "chime.wav",
   "advance": "sound-end"},
  {"picture": "bars.bmp", "duration": 30, "transition": 1}]}
JSON
play_show 6 Escape
heard 250 1500
next=$(reopened_at)
if [ -z "$next" ]; then
  fail "the next slide's music never started: $(tr '\n' ';' < hear.log)"
else
  [ "$next" -ge 2250 ] && [ "$next" -le 4000 ] || fail "the next slide came at $next ms, not when the 2.5 s chime ended"
  heard $((next + 250)) $((next + 2000))
fi
ended_clean
[ $failures -eq 0 ] && echo "the slide moved on when its sound ended, at $next ms"
exit $failures
