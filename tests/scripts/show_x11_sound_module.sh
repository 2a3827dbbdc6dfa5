#!/usr/bin/env bash
# A show with a tracker module as its music, in a real X display with SDL's
# disk audio driver: the music is heard on the music slides, stops on the
# silent slide and starts again after it; Escape ends the show and its
# temporary module file goes with it.
source "$(dirname "$0")/x11_sound_setup.bash"
cat > show.json <<'JSON'
{"title": "", "loopShow": 0, "music": "tune.mod",
 "background": {"kind": "colour", "plainColour": "#000000"},
 "slides": [
  {"picture": "sunset.bmp", "duration": 3, "transition": 1},
  {"picture": "grey.bmp", "duration": 3, "transition": 1, "sound": "silence"},
  {"picture": "bars.bmp", "duration": 30, "transition": 1}]}
JSON
play_show 9 Escape
heard 250 2500
quiet 3750 5500
heard 6750 8500
ended_clean
[ $failures -eq 0 ] && echo "module music heard, silence kept, temporary file removed"
exit $failures
