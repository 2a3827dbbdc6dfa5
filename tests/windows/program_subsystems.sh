#!/usr/bin/env bash
# The player is a windowed program, so that a double-clicked show opens no
# console beside itself; the tool stays a console program. Read from the
# PE header: the optional header's subsystem field (2 windowed, 3 console).
set -u
bin="${PELLORA_BIN_DIR:?}"
failures=0
# Reads N little-endian bytes at OFFSET of FILE as a number.
number() { od -An -t "u$2" -j "$3" -N "$2" "$1" 2>/dev/null | tr -d ' '; }
while read -r program expected; do
  file="$bin/$program"
  pe=$(number "$file" 4 60)
  if [ "$(od -An -c -j "${pe:-0}" -N 2 "$file" 2>/dev/null | tr -d ' ')" != PE ]; then
    echo "$program: no PE header"; failures=$((failures + 1)); continue
  fi
  # The signature (4 bytes) and the file header (20) come before the
  # optional header, whose subsystem is at 68.
  subsystem=$(number "$file" 2 $((pe + 4 + 20 + 68)))
  [ "$subsystem" = "$expected" ] || { echo "$program: subsystem $subsystem, not $expected"; failures=$((failures + 1)); }
done <<'CASES'
pellora-player.exe 2
pellora.exe 3
CASES
exit $((failures > 0))
