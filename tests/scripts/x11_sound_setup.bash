# Sourced by the tests that play a show with sound in an X display: skips
# (status 77) without the tools, works in a fresh folder that goes away at
# the end, makes the demo's sounds and pictures there, and offers
# play_show and the checks on what was heard.
source "$(dirname "${BASH_SOURCE[0]}")/x11_common.bash"
x11_setup od awk
mkdir tmp
"$bin/pellora-demo-sounds" . || exit 1
"$bin/pellora-demo-pictures" . >/dev/null || exit 1

# play_show SECONDS END: packs show.json and plays it in an X display with
# SDL's disk audio driver, its temporary files in ./tmp, for SECONDS
# seconds counted from the first sound heard; then ends it with END, a key
# for xdotool or a signal (TERM, HUP, INT). Leaves hear.log, one line every
# quarter second: milliseconds since the first sound, bytes captured, the
# root mean square of the bytes new since the line before (the device
# starts a new file each time it opens) and the number of "dia" files in
# ./tmp; and the player's exit status in ./status.
play_show() {
  "$bin/pellora" pack show.json -o show || exit 1
  cat > drive.sh <<'DRIVE'
set -u
seconds=$1 end=$2
TMPDIR=$PWD/tmp SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$PWD/capture.raw ./show 2>player.err & pid=$!
launched=$(date +%s%3N) start="" prev=0
: > hear.log
while :; do
  sleep 0.25
  now=$(date +%s%3N)
  size=$(stat -c %s capture.raw 2>/dev/null || echo 0)
  [ -z "$start" ] && [ "$size" -gt 0 ] && start=$now
  if [ -z "$start" ]; then
    [ $((now - launched)) -gt 30000 ] && { echo "no sound within 30 s"; break; }
    continue
  fi
  [ "$size" -lt "$prev" ] && prev=0
  rms=0
  if [ "$size" -gt "$prev" ]; then
    rms=$(tail -c +$((prev + 1)) capture.raw | head -c $((size - prev)) | od -An -v -t d2 -w2 |
          awk '{ s += $1 * $1; n++ } END { printf "%d", n ? sqrt(s / n) : 0 }')
  fi
  prev=$size
  echo "$((now - start)) $size $rms $(ls tmp | grep -c '^dia')" >> hear.log
  [ $((now - start)) -ge $((seconds * 1000)) ] && break
done
case "$end" in
  TERM|HUP|INT) kill -"$end" $pid ;;
  *) xdotool search --sync --onlyvisible --name "Quorvel Pellora" >/dev/null; xdotool key "$end" ;;
esac
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then echo "the show did not end"; kill -KILL $pid; fi
wait $pid
echo $? > status
DRIVE
  rm -f capture.raw status
  in_x_display 640x480 timeout 120 bash drive.sh "$1" "$2"
}

failures=0
fail() { echo "$*"; failures=$((failures + 1)); }

# The loudest and the quietest quarter second between FROM and TO ms.
loudest() { awk -v a="$1" -v b="$2" '$1 >= a && $1 < b && $3 > m { m = $3 } END { print m + 0 }' hear.log; }
# heard FROM TO: some sound between FROM and TO ms.
heard() { [ "$(loudest "$1" "$2")" -gt 1000 ] || fail "nothing heard between $1 and $2 ms: $(cat hear.log | tr '\n' ';')"; }
# quiet FROM TO: no sound at all between FROM and TO ms.
quiet() { [ "$(loudest "$1" "$2")" -lt 50 ] || fail "sound heard between $1 and $2 ms: $(cat hear.log | tr '\n' ';')"; }

# The show ended with status 0 and left no temporary sound file.
ended_clean() {
  [ "$(cat status 2>/dev/null)" = 0 ] || fail "exit status $(cat status 2>/dev/null) ($(tail -3 player.err 2>/dev/null))"
  if ls tmp | grep -q '^dia'; then fail "left behind: $(ls tmp)"; fi
  # While the sound played, its file was there.
  awk '$4 > 0 { found = 1 } END { exit !found }' hear.log || fail "no temporary sound file was ever seen"
}

# When the audio device was opened again (a new sound started after the
# first one), in ms; empty when it never was.
reopened_at() { awk 'NR > 1 && $2 < last { print $1; exit } { last = $2 }' hear.log; }
