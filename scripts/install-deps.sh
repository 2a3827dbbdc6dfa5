#!/usr/bin/env bash
# Installs the Debian packages Pellora builds, tests and plays with.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libsdl2-dev libsdl2-mixer-dev libfreetype-dev libbrotli-dev fonts-liberation fonts-dejavu-core debootstrap
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev nlohmann-json3-dev timgm6mb-soundfont
  # pack reads these picture formats through their libraries
  libwebp-dev libheif-dev libtiff-dev libgif-dev
  libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick lame dpkg-dev
  # SDL_mixer's development files accept either JACK; the Windows build's
  # 32-bit Wine brings jackd2's library, and apt would take SDL_mixer away
  # to reconcile the two if the other one were chosen here.
  libjack-jackd2-dev
)
. "$(dirname "$0")/apt.bash"
apt_install "${packages[@]}"
