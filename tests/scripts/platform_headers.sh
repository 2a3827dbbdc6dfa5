#!/usr/bin/env bash
# Only platform/ may include SDL or operating-system headers: everything else
# talks to the interfaces platform/ offers.
set -u
cd "${PELLORA_SOURCE_DIR:?}" || exit 1
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](SDL[^>"]*|unistd\.h|fcntl\.h|dlfcn\.h|signal\.h|csignal|pthread\.h|poll\.h|dirent\.h|termios\.h|windows\.h|X11/[^>"]*|fontconfig/[^>"]*|sys/[^>"]*|linux/[^>"]*)[>"]'
hits=$(grep -rnE "$pattern" --include='*.cpp' --include='*.h' --include='*.cc' --include='*.hpp' \
  app show image music tools tests fuzz bench 2>/dev/null)
if [ -n "$hits" ]; then
  echo "These files outside platform/ include SDL or operating-system headers:"
  echo "$hits"
  exit 1
fi
echo "no SDL or operating-system headers outside platform/"
