#!/usr/bin/env bash
# A Windows show made on Linux with pack --target windows, in a folder
# with accented letters: both tools read it with info, and pellora.exe
# packs the same description into the same bytes.
set -u
bin="${PELLORA_BIN_DIR:?}"
linux="${PELLORA_LINUX_BIN_DIR:?}/pellora"
[ -x "$linux" ] || { echo "no Linux build at $linux"; exit 77; }
work=$(mktemp -d)
wineserver -p 60
trap 'rm -rf "$work"; wineserver -k 2>/dev/null' EXIT
folder="$work/Vacances été"
mkdir "$folder" && cd "$folder" || exit 1
printf '%s' '{"title": "Été", "slides": [{"duration": 2}, {"duration": 3}]}' > show.json
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }

PELLORA_PLAYER_DIR=$bin "$linux" pack show.json -o linux-show.exe --target windows --quiet || fail "Linux pack failed"
"$linux" info linux-show.exe --json > linux-info.json || fail "Linux info cannot read the Windows show"
grep -q '"title": *"Été"' linux-info.json || fail "Linux info: $(head -c 300 linux-info.json)"

wine "$bin/pellora.exe" info "$(winepath -w "$folder/linux-show.exe")" --json > windows-info.json 2>windows.err ||
  fail "pellora.exe info cannot read the show: $(cat windows.err)"
grep -q '"title": *"Été"' windows-info.json || fail "pellora.exe info: $(head -c 300 windows-info.json)"

wine "$bin/pellora.exe" pack "$(winepath -w "$folder/show.json")" -o "$(winepath -w "$folder/windows-show.exe")" \
  --quiet 2>windows.err || fail "pellora.exe pack failed: $(cat windows.err)"
cmp -s linux-show.exe windows-show.exe || fail "the shows packed on Linux and on Windows differ"
[ "$failures" = 0 ] && echo "a Windows show packed on Linux reads on both and equals the one packed on Windows"
exit "$failures"
