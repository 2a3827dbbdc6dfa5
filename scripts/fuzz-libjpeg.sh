#!/usr/bin/env bash
# Builds libjpeg-turbo from the machine's own Debian source package with the
# fuzz build's instrumentation (clang, coverage, AddressSanitizer), so that
# the JPEG fuzz target reaches into the decoder. The result is cached in
# DIR (default build-fuzz/libjpeg-turbo): DIR/install holds include/ and
# lib/libjpeg.a. A machine without a deb-src entry gets one for the suites
# its deb entries already name.
#
# usage: scripts/fuzz-libjpeg.sh [DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(realpath -m "${1:-build-fuzz/libjpeg-turbo}")
install=$dir/install
[ -f "$install/lib/libjpeg.a" ] && exit 0
start=$SECONDS
. scripts/debian-source.bash
ensure_deb_src
# The version the machine's libjpeg62-turbo-dev was built from.
version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev 2>/dev/null || true)
rm -rf "$dir/build"
source=$(fetch_debian_source libjpeg62-turbo-dev libjpeg-turbo "$dir/src")

flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,fuzzer-no-link"
cmake -S "$source" -B "$dir/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_C_FLAGS="$flags" -DCMAKE_C_FLAGS_RELWITHDEBINFO="" \
  -DCMAKE_INSTALL_PREFIX="$install" -DCMAKE_INSTALL_LIBDIR=lib \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
  -DREQUIRE_SIMD=OFF >/dev/null
cmake --build "$dir/build" --target jpeg-static >/dev/null
# Only the library and its headers are wanted, not the programs.
mkdir -p "$install/lib" "$install/include"
cp "$dir/build/libjpeg.a" "$install/lib/"
cp "$dir/build/jconfig.h" "$source/jerror.h" "$source/jmorecfg.h" "$source/jpeglib.h" "$install/include/"
rm -rf "$dir/src" "$dir/build"
echo "== instrumented libjpeg-turbo $version built in $((SECONDS - start))s"
