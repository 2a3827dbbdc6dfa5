#!/usr/bin/env bash
# The README's demo show, made as scripts/demo.sh makes it, packs with its
# music and its chime slide and plays through in virtual time on the
# headless backend, leaving no temporary file.
set -u
bin="${PELLORA_BIN_DIR:?}"
src="${PELLORA_SOURCE_DIR:?}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir tmp
"$bin/pellora-demo-pictures" . >/dev/null && "$bin/pellora-demo-sounds" . || exit 1
cp "$src/demo/show.json" . && "$bin/pellora" pack show.json -o demo-show --bare || exit 1
"$bin/pellora" info demo-show --json > info.json || exit 1
failures=0
grep -q '"musicFileName": *"tune.mod"' info.json || { echo "the demo has no music"; failures=$((failures + 1)); }
grep -q '"soundFileName": *"chime.wav"' info.json || { echo "the demo has no chime slide"; failures=$((failures + 1)); }
# Twice round the looping show (about 30 s each), then the limit ends it.
TMPDIR=$PWD/tmp PELLORA_BACKEND=headless PELLORA_HEADLESS_SIZE=320x240 PELLORA_HEADLESS_LIMIT=70000 \
  "$bin/pellora" play demo-show 2>player.err
status=$?
[ $status -eq 0 ] || { echo "exit status $status: $(cat player.err)"; failures=$((failures + 1)); }
if [ -n "$(ls tmp)" ]; then echo "left behind: $(ls tmp)"; failures=$((failures + 1)); fi
[ $failures -eq 0 ] && echo "the demo show packs with its sounds and plays through"
exit $failures
