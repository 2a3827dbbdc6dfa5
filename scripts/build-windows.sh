#!/usr/bin/env bash
# Builds the 32-bit Windows programs from Linux: build-windows/bin/pellora.exe
# (the tool), pellora-player.exe (the self-running player) and the unit test
# programs, which run under Wine. On a fresh Debian machine it first
# installs what it needs (the mingw-w64 compiler, Wine with its 32-bit
# half) and builds the libraries for the target from Debian's own source
# packages, at the versions the Linux build uses: libjpeg-turbo, zlib and
# libpng, and GoogleTest from /usr/src/googletest. They are cached in
# build-windows/deps. nlohmann-json is used from its Debian headers.
#
# usage: scripts/build-windows.sh [--no-tests]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tests=ON
[ "${1:-}" = "--no-tests" ] && tests=OFF
build=$root/build-windows
deps=$build/deps
install=$deps/install
. scripts/debian-source.bash

# --- Debian packages ---------------------------------------------------
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  # Wine's 32-bit half runs the 32-bit programs.
  $sudo_cmd dpkg --add-architecture i386
  apt_update
fi
packages=(g++-mingw-w64-i686 wine wine32:i386 cmake ninja-build dpkg-dev nlohmann-json3-dev googletest
          libjpeg62-turbo-dev libpng-dev zlib1g-dev)
apt_install "${packages[@]}"

# --- libraries for the target ------------------------------------------
toolchain=$root/cmake/toolchain-mingw-i686.cmake
export PELLORA_WINDOWS_DEPS=$install
mkdir -p "$install/include" "$install/lib"

# Builds one library unless its stamp names the same version already.
# usage: library NAME DEBIAN-PACKAGE SOURCE-PACKAGE BUILD-FUNCTION
library() {
  local name=$1 package=$2 source=$3 build_function=$4 version stamp
  version=$(dpkg-query -W -f='${source:Version}' "$package" 2>/dev/null || echo unknown)
  stamp=$deps/$name.stamp
  [ -f "$stamp" ] && [ "$(head -n 1 "$stamp" | cut -d' ' -f1)" = "$version" ] && return 0
  local start=$SECONDS folder
  ensure_deb_src
  folder=$(fetch_debian_source "$package" "$source" "$deps/src/$name")
  version="$version (source $(basename "$folder"))"
  "$build_function" "$folder" "$deps/build/$name"
  rm -rf "$deps/src/$name" "$deps/build/$name"
  echo "$version" >"$stamp"
  echo "== $name $version for Windows built in $((SECONDS - start))s"
}

cross_cmake() {
  cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$install" -DCMAKE_INSTALL_LIBDIR=lib "$@" >/dev/null
}

# Debian's zlib source has no Windows makefile: its library sources are
# compiled directly.
build_zlib() {
  mkdir -p "$2"
  local file
  for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
      uncompr zutil; do
    i686-w64-mingw32-gcc-posix -O2 -c "$1/$file.c" -o "$2/$file.o"
  done
  i686-w64-mingw32-ar rcs "$install/lib/libz.a" "$2"/*.o
  cp "$1/zlib.h" "$1/zconf.h" "$install/include/"
}

build_libpng() {
  cross_cmake -S "$1" -B "$2" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DHAVE_LD_VERSION_SCRIPT=OFF -DZLIB_ROOT="$install"
  cmake --build "$2" --target install >/dev/null
}

build_libjpeg() {
  cross_cmake -S "$1" -B "$2" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DWITH_JPEG8=OFF -DREQUIRE_SIMD=OFF
  cmake --build "$2" --target jpeg-static >/dev/null
  cp "$2/libjpeg.a" "$install/lib/"
  cp "$2/jconfig.h" "$1/jerror.h" "$1/jmorecfg.h" "$1/jpeglib.h" "$install/include/"
}

library zlib zlib1g-dev zlib build_zlib
library libpng libpng-dev libpng1.6 build_libpng
library libjpeg-turbo libjpeg62-turbo-dev libjpeg-turbo build_libjpeg

# GoogleTest from Debian's source folder, at the version of the package.
gtest_version=$(dpkg-query -W -f='${Version}' googletest)
if [ "$(cat "$deps/googletest.stamp" 2>/dev/null)" != "$gtest_version" ]; then
  cross_cmake -S /usr/src/googletest -B "$deps/build/googletest" -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
  cmake --build "$deps/build/googletest" --target install >/dev/null
  rm -rf "$deps/build/googletest"
  echo "$gtest_version" >"$deps/googletest.stamp"
  echo "== GoogleTest $gtest_version for Windows built"
fi

# nlohmann-json: the Debian headers and package files, beside the others so
# that nothing else of /usr/include enters the cross build.
if [ ! -d "$install/include/nlohmann" ]; then
  cp -r /usr/include/nlohmann "$install/include/"
  mkdir -p "$install/share/cmake"
  cp -r /usr/share/cmake/nlohmann_json "$install/share/cmake/"
fi

# --- the programs ----------------------------------------------------
cmake --preset windows -DPELLORA_TESTS=$tests >/dev/null
cmake --build --preset windows
