#!/usr/bin/env bash
# Which folder may include which. Only platform/ may include SDL or
# operating-system headers; above it each folder uses only those below:
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

system='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL[^>"]*|unistd\.h|fcntl\.h|dlfcn\.h|signal\.h|csignal|pthread\.h|poll\.h|dirent\.h|termios\.h|windows\.h|X11/[^>"]*|fontconfig/[^>"]*|sys/[^>"]*|linux/[^>"]*)[>"]'
hits=$(sources app show image music document tools testing tests fuzz bench | xargs grep -nE "$system")
if [ -n "$hits" ]; then
  echo "These files outside platform/ include SDL or operating-system headers:"
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
