#!/usr/bin/env bash
# The portable player that shows carry needs only the C library: its
# needed libraries are glibc's, no symbol asks for a glibc newer than 2.34,
# and it exports its SDL for the desktop's SDL_mixer to bind to.
set -u
bin="${PELLORA_BIN_DIR:?}"
[ "${PELLORA_PORTABLE:-OFF}" = ON ] || { echo "not the portable build"; exit 77; }
player="$bin/pellora-player"
failures=0
fail() { echo "$1"; failures=$((failures + 1)); }
while read -r library; do
  case "$library" in
    libc.so.6 | libm.so.6 | libpthread.so.0 | libdl.so.2 | librt.so.1 | ld-linux-x86-64.so.2) ;;
    *) fail "needs $library" ;;
  esac
done < <(objdump -p "$player" | awk '$1 == "NEEDED" { print $2 }')
newest=$(objdump -T "$player" | grep -o 'GLIBC_[0-9][0-9.]*' | sed 's/GLIBC_//' | sort -Vu | tail -n 1)
[ "$(printf '%s\n2.34\n' "$newest" | sort -V | tail -n 1)" = 2.34 ] || fail "asks for glibc $newest"
objdump -T "$player" | grep -q ' g .*\.text.* SDL_Init$' || fail "exports no SDL_Init"
[ $failures -eq 0 ] && echo "needs only glibc up to $newest, exports its SDL, $(stat -c %s "$player") bytes"
exit $failures
