#!/usr/bin/env bash
# The music engine and mixer are integer code: pellora.exe modrender under
# Wine writes the same WAV, byte for byte, as the Linux pellora modrender,
# and fails where it fails, for every module of the corpus.
set -u
windows="${PELLORA_BIN_DIR:?}/pellora.exe"
linux="${PELLORA_LINUX_BIN_DIR:?}/pellora"
corpus="${PELLORA_CORPUS_DIR:?}/modules"
[ -d "$corpus" ] || { echo "no corpus"; exit 77; }
[ -x "$linux" ] || { echo "no Linux build at $linux"; exit 77; }
work=$(mktemp -d)
# The Wine server stays up between the programs and ends with the test.
wineserver -p 60
trap 'rm -rf "$work"; wineserver -k 2>/dev/null' EXIT
failures=0 compared=0
while IFS= read -r module; do
  "$linux" modrender "$module" -o "$work/linux.wav" >/dev/null 2>&1
  linux_status=$?
  wine "$windows" modrender "$(winepath -w "$module")" -o "$(winepath -w "$work/windows.wav")" >/dev/null 2>&1
  windows_status=$?
  name=${module#"$corpus"/}
  if [ "$linux_status" != "$windows_status" ]; then
    echo "$name: status $windows_status on Windows, $linux_status on Linux"
    failures=$((failures + 1))
  elif [ "$linux_status" = 0 ] && ! cmp -s "$work/linux.wav" "$work/windows.wav"; then
    echo "$name: the WAV files differ"
    failures=$((failures + 1))
  fi
  compared=$((compared + 1))
  rm -f "$work/linux.wav" "$work/windows.wav"
done < <(find "$corpus" -type f | sort)
echo "$compared modules, $failures differences"
[ "$failures" = 0 ]
