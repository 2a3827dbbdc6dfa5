#!/usr/bin/env bash
# Which folder may include which. Only the system and backend folders of
# platform/ (os/*, sdl/, win32/) may include SDL or operating-system
# headers; the shared platform/ code and everything above it may not.
# Above platform/ each folder uses only those below:
#   platform/          none of the others
#   image/, music/     platform/
#   document/          platform/, image/
#   show/              platform/, image/, music/, document/
#   app/               all of the above and show/
#   tools/             all of the above and app/
# and nothing the programs are made of includes tests/ or testing/.
set -u
cd "${PELLORA_SOURCE_DIR:?}" || exit 1
failed=0
sources() { find "$@" \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null; }

system='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL[^>"]*|unistd\.h|fcntl\.h|dlfcn\.h|signal\.h|csignal|pthread\.h|poll\.h|dirent\.h|termios\.h|windows\.h|win[a-z0-9]*\.h|[a-z]*api\.h|mmsystem\.h|vfw\.h|X11/[^>"]*|fontconfig/[^>"]*|sys/[^>"]*|linux/[^>"]*)[>"]'
shared_platform=$(find platform -path platform/sdl -prune -o -path platform/win32 -prune -o -path platform/os -prune \
  -o \( -name '*.cpp' -o -name '*.h' \) -print)
hits=$( (sources app show image music document tools testing tests fuzz bench; echo "$shared_platform") | xargs grep -nE "$system")
if [ -n "$hits" ]; then
  echo "These files outside platform/os, platform/sdl and platform/win32 include SDL or operating-system headers:"
  echo "$hits"
  failed=1
fi

# The shared platform code knows no system's folder.
hits=$(echo "$shared_platform" | xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"platform/(sdl|win32|os)/')
if [ -n "$hits" ]; then
  echo "Shared platform/ code includes a system's own headers:"
  echo "$hits"
  failed=1
fi

# folder: the folders it may include besides itself
declare -A allowed=(
  [platform]=""
  [image]="platform"
  [music]="platform"
  [document]="platform image"
  [show]="platform image music document"
  [app]="platform image music document show"
  [tools]="platform image music document show app"
)
for folder in "${!allowed[@]}"; do
  permitted="$folder ${allowed[$folder]}"
  while IFS= read -r line; do
    [ -z "$line" ] && continue
    target=$(sed -E 's/.*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"${line#*:*:}")
    case " $permitted " in
      *" $target "*) ;;
      *) echo "$folder/ may not include $target/: $line"; failed=1 ;;
    esac
  done < <(sources "$folder" | xargs grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^/"]+/')
done

[ "$failed" = 0 ] && echo "every folder includes only what it may"
exit "$failed"
