#!/usr/bin/env bash
# Which folder may include which. Each folder is one library and includes
# only the folders below it (the table below, read with what those include
# in turn); platform/ counts one folder per subfolder, its root (the
# backend interface, platform/backend.h) being one of them:
#   platform/base                 nothing
#   platform/os                   base
#   platform/storage              os
#   platform/ (backend.h)         base
#   platform/draw                 the backend interface, os
#   platform/ui                   draw
#   platform/audio                ui, storage
#   platform/video                ui
#   platform/headless, sdl, win32 audio, video
#   platform/backends             the three backends
#   image                         platform/draw, platform/storage
#   music                         platform/audio
#   document                      image, platform/ui
#   show                          document, music, platform/video
#   app                           show, platform/backends
#   tools                         app
#   testing                       music
# and besides:
# - only the system parts (os/, draw/ and backends/ posix/ or win32/) and
#   the backends sdl/ and win32/ include SDL or operating-system headers;
# - the framework's folders include no backend, and no system part but
#   their own: a system part is included only from a system part or a
#   backend; sdl/ and win32/ only from themselves and backends/;
#   headless/ only from the backends' table and the tools;
# - nothing the programs are made of includes tests/ or testing/.
set -u
cd "${PELLORA_SOURCE_DIR:?}" || exit 1
failed=0
fail() {
  echo "$1"
  failed=1
}
# The sources of the tree, build folders left out.
sources() {
  find . -path './build*' -prune -o -path './.git' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||'
}
include_pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*"'

declare -A below=(
  [platform/base]=""
  [platform/os]="platform/base"
  [platform/storage]="platform/os"
  [platform]="platform/base"
  [platform/draw]="platform platform/os"
  [platform/ui]="platform/draw"
  [platform/audio]="platform/ui platform/storage"
  [platform/video]="platform/ui"
  [platform/headless]="platform/audio platform/video"
  [platform/sdl]="platform/audio platform/video"
  [platform/win32]="platform/audio platform/video"
  [platform/backends]="platform/headless platform/sdl platform/win32"
  [image]="platform/draw platform/storage"
  [music]="platform/audio"
  [document]="image platform/ui"
  [show]="document music platform/video"
  [app]="show platform/backends"
  [tools]="app"
  [testing]="music"
)
# Everything a folder reaches through the table.
declare -A reach
closure() {
  local folder=$1 result="" next
  for next in ${below[$folder]}; do
    result+=" $next $(closure "$next")"
  done
  echo "$result"
}
for folder in "${!below[@]}"; do reach[$folder]=" $folder $(closure "$folder") "; done

# The folder (library) a file or an included path belongs to.
unit_of() {
  case "$1" in
    platform/*/*) local rest=${1#platform/}; echo "platform/${rest%%/*}" ;;
    platform/*) echo platform ;;
    *) echo "${1%%/*}" ;;
  esac
}
# The system part a path lies in ("" for shared code).
system_part_of() {
  if [[ $1 =~ ^platform/(os|draw|backends)/(posix|win32)/ ]]; then echo "${BASH_REMATCH[0]}"
  elif [[ $1 =~ ^platform/(sdl|win32)/ ]]; then echo "${BASH_REMATCH[0]}"
  fi
}

system_headers='[<"](SDL[^>"]*|unistd\.h|fcntl\.h|dlfcn\.h|signal\.h|csignal|pthread\.h|poll\.h|dirent\.h|termios\.h|windows\.h|win[a-z0-9]*\.h|[a-z]*api\.h|mmsystem\.h|vfw\.h|X11/[^>"]*|fontconfig/[^>"]*|ft2build\.h|link\.h|sys/[^>"]*|linux/[^>"]*)[>"]'

while IFS= read -r file; do
  unit=$(unit_of "$file")
  [ -n "${reach[$unit]+x}" ] || continue
  part=$(system_part_of "$file")
  while IFS= read -r line; do
    [ -z "$line" ] && continue
    number=${line%%:*}
    text=${line#*:}
    where="$file:$number: ${text#"${text%%[![:space:]]*}"}"
    if [[ $text =~ \#[[:space:]]*include[[:space:]]*$system_headers ]]; then
      [ -n "$part" ] || fail "only the system parts and the backends sdl/ and win32/ include system headers: $where"
      continue
    fi
    [[ $text =~ \"([^\"]+)\" ]] || continue
    target=${BASH_REMATCH[1]}
    [[ $target == */* ]] || continue
    target_unit=$(unit_of "$target")
    case "${reach[$unit]}" in
      *" $target_unit "*) ;;
      *) fail "$unit/ may not include $target_unit/: $where"; continue ;;
    esac
    target_part=$(system_part_of "$target")
    if [ -n "$target_part" ] && [ -z "$part" ]; then
      fail "shared code includes a system's own header: $where"
    fi
    case "$target_unit" in
      platform/sdl | platform/win32)
        [[ $unit == "$target_unit" || $file == platform/backends/* ]] ||
          fail "only the backends' table includes the backend $target_unit/: $where" ;;
      platform/headless)
        [[ $unit == platform/headless || $unit == platform/backends || $unit == tools ]] ||
          fail "only the backends' table and the tools include platform/headless/: $where" ;;
    esac
  done < <(grep -nE "$include_pattern|#[[:space:]]*include[[:space:]]*<" "$file")
done < <(sources)

# What a folder holds that no table names: a new folder must be given its
# place above.
for folder in $(sources | grep -vE '^(tests|fuzz|bench|demo)/' | while read -r f; do unit_of "$f"; done | sort -u); do
  [ -n "${reach[$folder]+x}" ] || fail "$folder/ has no place in the include table of $0"
done

[ "$failed" = 0 ] && echo "every folder includes only what it may"
exit "$failed"
