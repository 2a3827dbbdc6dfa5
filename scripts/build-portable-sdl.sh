#!/usr/bin/env bash
# Builds SDL2 as a static library from Debian's own source package, at the
# version of the installed libsdl2-dev, for the portable Linux player: its
# video and audio backends (X11, Wayland, KMS/DRM, ALSA, PulseAudio,
# PipeWire) are loaded at run time when the viewer's machine has them, so
# the player itself needs only the C library. Cached in DEST (the build
# folder's deps/sdl2): a second run with the same version does nothing.
#
# usage: scripts/build-portable-sdl.sh DEST
set -euo pipefail
dest=${1:?usage: build-portable-sdl.sh DEST}
cd "$(dirname "$0")/.."
. scripts/debian-source.bash

version=$(dpkg-query -W -f='${source:Version}' libsdl2-dev 2>/dev/null) ||
  { echo "libsdl2-dev is not installed (scripts/install-deps.sh)" >&2; exit 1; }
stamp=$dest/stamp
[ -f "$stamp" ] && [ "$(head -n 1 "$stamp" | cut -d' ' -f1)" = "$version" ] && [ -f "$dest/install/lib/libSDL2.a" ] &&
  exit 0

start=$SECONDS
rm -rf "$dest"
mkdir -p "$dest"
ensure_deb_src
folder=$(fetch_debian_source libsdl2-dev libsdl2 "$dest/src")
# Only the backends a desktop plays a show with; the rest stay out.
cmake -S "$folder" -B "$dest/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$dest/install" \
  -DCMAKE_INSTALL_LIBDIR=lib -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_STATIC_PIC=ON -DSDL_TEST=OFF -DSDL_RPATH=OFF \
  -DSDL_X11=ON -DSDL_X11_SHARED=ON -DSDL_WAYLAND=ON -DSDL_WAYLAND_SHARED=ON -DSDL_WAYLAND_LIBDECOR_SHARED=ON \
  -DSDL_KMSDRM=ON -DSDL_KMSDRM_SHARED=ON -DSDL_ALSA=ON -DSDL_ALSA_SHARED=ON -DSDL_PULSEAUDIO=ON \
  -DSDL_PULSEAUDIO_SHARED=ON -DSDL_PIPEWIRE=ON -DSDL_PIPEWIRE_SHARED=ON -DSDL_JACK=OFF -DSDL_ESD=OFF -DSDL_ARTS=OFF \
  -DSDL_NAS=OFF -DSDL_SNDIO=OFF -DSDL_FUSIONSOUND=OFF -DSDL_LIBSAMPLERATE=OFF -DSDL_HIDAPI=OFF -DSDL_DIRECTFB=OFF \
  -DSDL_RPI=OFF -DSDL_VIVANTE=OFF -DSDL_CCACHE=OFF >"$dest/configure.log" 2>&1 ||
  { tail -n 30 "$dest/configure.log" >&2; exit 1; }
cmake --build "$dest/build" --target install >"$dest/build.log" 2>&1 || { tail -n 30 "$dest/build.log" >&2; exit 1; }
rm -rf "$dest/src" "$dest/build"
echo "$version (source $(basename "$folder"))" >"$stamp"
echo "== static SDL $version built in $((SECONDS - start))s" >&2
