#!/usr/bin/env bash
# Plays a show packed with the portable Linux player in a bare Debian root
# (debootstrap --variant=minbase, with only the X11 client libraries and
# ALSA's library added: no SDL, no fontconfig, no fonts, nothing of the
# build). The X server runs outside, its socket shared in. The screen must
# equal `pellora render` of the show, and its module music and its WAV
# slide sound must both reach ALSA, here a file device.
#
# The root is made once into BUILD/deps/minbase-root (needs root and the
# network). usage: scripts/check-portable-player.sh [BUILD]  (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
bin=$build/bin
root=$build/deps/minbase-root
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
mirror=${mirror:-http://deb.debian.org/debian}
libraries=libx11-6,libxext6,libxcursor1,libxi6,libxrandr2,libxfixes3,libxss1,libasound2

if [ "$(cat "$root.stamp" 2>/dev/null)" != "$suite $libraries" ]; then
  start=$SECONDS
  rm -rf "$root" "$root.stamp"
  mkdir -p "$build/deps"
  debootstrap --variant=minbase --include="$libraries" "$suite" "$root" "$mirror" >"$root.log" 2>&1 ||
    { tail -n 20 "$root.log"; exit 1; }
  echo "$suite $libraries" >"$root.stamp"
  echo "== minbase root made in $((SECONDS - start))s"
fi

work=$root/show
shared=""
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  [ -n "$shared" ] && umount "$root/tmp/.X11-unix"
  rm -rf "$work"
}
trap cleanup EXIT
rm -rf "$work"
mkdir -p "$work"
cd "$work"
"$bin/pellora-demo-sounds" . >/dev/null
"$bin/pellora-demo-pictures" . >/dev/null
# The music plays behind the first slide; the second plays its WAV.
cat > show.json <<'JSON'
{"background": {"kind": "colour", "plainColour": "#204060"}, "music": "tune.mod",
 "slides": [{"picture": "sunset.bmp", "fit": "keep-ratio", "advance": "manual", "transition": 1},
            {"picture": "tiles.bmp", "fit": "none", "advance": "manual", "transition": 1,
             "sound": "slide", "soundFile": "chime.wav"}]}
JSON
"$bin/pellora" pack show.json -o show --quiet
"$bin/pellora" render show --out render --size 640x480 >/dev/null
# Every sound the player opens is appended to one file.
cat > .asoundrc <<'ALSA'
pcm.!default { type file; slave.pcm "null"; file "|cat >> /show/capture.raw"; format "raw" }
ALSA

mkfifo display
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -ac -noreset 3>display 2>xvfb.log &
server=$!
read -r -t 30 number <display || { echo "Xvfb did not start: $(cat xvfb.log)"; exit 1; }
# The server's socket, shared into the root (where nothing can be
# mounted, the abstract socket reaches the server as well).
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" 2>/dev/null && shared=yes
export DISPLAY=:$number

failures=0
fail() { echo "$1"; failures=$((failures + 1)); }
captured() { stat -c %s capture.raw 2>/dev/null || echo 0; }
# The root mean square of COUNT captured bytes from byte FROM on.
loudness() {
  tail -c +$(($1 + 1)) capture.raw 2>/dev/null | head -c "$2" | od -An -v -t d2 -w2 |
    awk '{ s += $1 * $1; n++ } END { printf "%d", n ? sqrt(s / n) : 0 }'
}
# The same screen as pellora render's picture of the slide.
same_screen() {
  import -window root "seen-$1.png"
  [ "$(compare -metric AE "seen-$1.png" "render/slide-00$1.png" null: 2>&1)" = 0 ] ||
    fail "slide $1 differs from pellora render"
}

chroot "$root" /usr/bin/env -i HOME=/show DISPLAY="$DISPLAY" SDL_AUDIODRIVER=alsa /show/show 2>player.err &
player=$!
xdotool search --sync --onlyvisible --name "Quorvel Pellora" >/dev/null
sleep 3
same_screen 1
music_end=$(captured)
xdotool key Right
sleep 3
same_screen 2
xdotool key Escape
for _ in $(seq 50); do kill -0 $player 2>/dev/null || break; sleep 0.1; done
kill -0 $player 2>/dev/null && { fail "the show did not end"; kill -KILL $player; }
wait $player || fail "the show ended with status $?"
music=$(loudness 0 "$music_end")
chime=$(loudness "$music_end" $(($(captured) - music_end)))
[ "$music" -gt 500 ] || fail "the music did not reach ALSA (rms $music of $music_end bytes)"
[ "$chime" -gt 500 ] || fail "the WAV did not reach ALSA (rms $chime of $(($(captured) - music_end)) bytes)"
[ $failures -eq 0 ] || { echo "player: $(cat player.err)"; exit 1; }
echo "== the portable player plays in a bare Debian root (music rms $music, WAV rms $chime)"
