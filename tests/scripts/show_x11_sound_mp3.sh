#!/usr/bin/env bash
# A show whose music is an MP3 file (encoded here from the demo's chime
# with lame or ffmpeg; skipped when neither is installed), in a real X
# display with SDL's disk audio driver: heard, and played again, on the
# music slides, silent on the last one.
source "$(dirname "$0")/x11_sound_setup.bash"
if command -v lame >/dev/null; then
  lame --quiet -b 128 chime.wav song.mp3 || exit 1
elif command -v ffmpeg >/dev/null; then
  ffmpeg -loglevel error -i chime.wav -b:a 128k song.mp3 || exit 1
else
  echo "skipped: neither lame nor ffmpeg can make an MP3"
  exit 77
fi
cat > show.json <<'JSON'
{"title": "", "loopShow": 0, "music": "song.mp3",
 "background": {"kind": "colour", "plainColour": "#000000"},
 "slides": [
  {"picture": "sunset.bmp", "duration": 4, "transition": 1},
  {"picture": "rings.jpg", "duration": 2, "transition": 1, "sound": "keep"},
  {"picture": "grey.bmp", "duration": 30, "transition": 1, "sound": "silence"}]}
JSON
play_show 9 Escape
heard 250 1500
# The chime has died away by 2.5 s; it is heard again only if the music
# starts again at its end.
heard 2750 3750
quiet 7000 8750
ended_clean
[ $failures -eq 0 ] && echo "MP3 music heard and replayed, then silence"
exit $failures
