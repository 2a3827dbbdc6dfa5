# Sourced by the tests that play a show packed for Windows under Wine in a
# private X display: skips (status 77) without the tools or the Windows
# player, then works in a fresh folder with its own Wine prefix and a home
# whose ALSA configuration writes every sound Wine plays to
# ./capture.raw (16-bit stereo at 44100 Hz).
scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$scripts/../x11_common.bash"
# Wine's first connection must not meet the server resetting after the
# last client before it left.
x11_server_options=-noreset
x11_setup wine wineserver import compare convert od awk
player="${PELLORA_WINDOWS_BIN_DIR:?}/pellora-player.exe"
[ -f "$player" ] || { echo "skipped: no Windows player at $player"; exit 77; }

export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$HOME"
cat > "$HOME/.asoundrc" <<ALSA
pcm.!default { type plug; slave { pcm "capture"; format S16_LE; rate 44100; channels 2 } }
pcm.capture { type file; slave.pcm "null"; file "$work/capture.raw"; format "raw" }
ALSA
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
DISPLAY= wineboot -i >/dev/null 2>&1 || { echo "cannot make a Wine prefix"; exit 1; }
# The prefix's desktop was started without a display: the player's Wine
# starts afresh in the X display.
wineserver -k 2>/dev/null

cp "$scripts/drive_common.bash" .
failures=0
fail() { echo "$*"; failures=$((failures + 1)); }

# pack_for_windows: packs show.json into show.exe around the Windows player
# and renders its slides at 640x480 into ./renders with the Linux tool.
pack_for_windows() {
  "$bin/pellora" pack show.json -o show.exe --player "$player" || exit 1
  "$bin/pellora" render show.exe --out renders --size 640x480 || exit 1
}

# Root mean square of the 16-bit samples Wine wrote to capture.raw.
captured_rms() {
  [ -s capture.raw ] || { echo 0; return; }
  od -An -v -t d2 -w2 capture.raw | awk '{ s += $1 * $1; n++ } END { printf "%d", n ? sqrt(s / n) : 0 }'
}

# Temporary "dia" files anywhere on Wine's drive C.
dia_files() { find "$WINEPREFIX/drive_c" -name 'dia*' 2>/dev/null; }
