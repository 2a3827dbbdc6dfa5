#!/usr/bin/env bash
# The headless backend ended by a termination signal (terminate, hang-up,
# interrupt) while a show with embedded music plays without end in virtual
# time: the player ends normally, with status 0, and deletes its temporary
# sound file.
set -u
bin="${PELLORA_BIN_DIR:?}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir tmp
"$bin/pellora-demo-sounds" . && "$bin/pellora-demo-pictures" . >/dev/null || exit 1
cat > show.json <<'JSON'
{"title": "", "loopShow": 1, "music": "tune.mod",
 "background": {"kind": "colour", "plainColour": "#000000"},
 "slides": [{"picture": "sunset.bmp", "duration": 5, "transition": 1},
            {"picture": "bars.bmp", "duration": 5, "transition": 1}]}
JSON
"$bin/pellora" pack show.json -o show --bare || exit 1
failures=0
for signal in TERM HUP INT; do
  TMPDIR=$PWD/tmp PELLORA_BACKEND=headless PELLORA_HEADLESS_SIZE=160x120 "$bin/pellora" play show 2>player.err &
  pid=$!
  for _ in $(seq 100); do ls tmp | grep -q '^dia' && break; sleep 0.05; done
  ls tmp | grep -q '^dia' || { echo "SIG$signal: the music's temporary file never appeared"; failures=$((failures + 1)); }
  kill -"$signal" $pid
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
  if kill -0 $pid 2>/dev/null; then echo "SIG$signal did not end the player"; kill -KILL $pid; fi
  wait $pid
  status=$?
  [ $status -eq 0 ] || { echo "SIG$signal: exit status $status"; failures=$((failures + 1)); }
  if ls tmp | grep -q '^dia'; then echo "SIG$signal left $(ls tmp)"; failures=$((failures + 1)); rm -f tmp/*; fi
done
[ $failures -eq 0 ] && echo "each signal ended the headless player and removed its temporary file"
exit $failures
