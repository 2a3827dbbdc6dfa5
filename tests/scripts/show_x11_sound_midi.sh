#!/usr/bin/env bash
# A show whose music is a MIDI file (written here byte by byte), played by
# SDL_mixer's synthesizer with the General MIDI sound font, in a real X
# display with SDL's disk audio driver: heard on the music slide, silent
# on the next one.
source "$(dirname "$0")/x11_sound_setup.bash"
if [ -z "${SDL_SOUNDFONTS:-}" ] && ! ls /usr/share/sounds/sf2/*.sf2 >/dev/null 2>&1; then
  echo "skipped: no General MIDI sound font (timgm6mb-soundfont)"
  exit 77
fi
# One track, 96 ticks a quarter at 120 beats a minute: eight notes of a
# quarter of a second each, then the end of the track.
{
  printf 'MThd\0\0\0\6\0\0\0\1\0\140'
  printf 'MTrk\0\0\0\107'
  printf '\0\300\0'
  for note in 74 76 77 79 77 76 74 72; do
    printf "\\0\\220\\$(printf %o $note)\\144\\60\\200\\$(printf %o $note)\\100"
  done
  printf '\0\377\57\0'
} > melody.mid
cat > show.json <<'JSON'
{"title": "", "loopShow": 0, "music": "melody.mid",
 "background": {"kind": "colour", "plainColour": "#000000"},
 "slides": [
  {"picture": "sunset.bmp", "duration": 4, "transition": 1},
  {"picture": "grey.bmp", "duration": 30, "transition": 1, "sound": "silence"}]}
JSON
play_show 7 Escape
heard 250 1750
quiet 5000 6500
ended_clean
[ $failures -eq 0 ] && echo "MIDI music heard, then silence"
exit $failures
