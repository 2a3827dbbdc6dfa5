# Shared by the scripts that build a library from the machine's own Debian
# source package. Source it, then:
#   ensure_deb_src                         adds deb-src entries for the suites
#                                          the deb entries name, when none exist
#   fetch_debian_source PACKAGE SRC DEST   unpacks the source package SRC at the
#                                          version the installed PACKAGE was
#                                          built from into DEST; prints the folder.
#                                          When a mirror lacks that version, the
#                                          newest one it has is taken, and said.
. "$(dirname "${BASH_SOURCE[0]}")/apt.bash"
sudo_cmd=$apt_sudo

ensure_deb_src() {
  grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ && return 0
  echo "== adding deb-src entries for the configured suites" >&2
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    grep -q '^Types: deb$' "$file" || continue
    sed 's/^Types: deb$/Types: deb-src/' "$file" | $sudo_cmd tee "/etc/apt/sources.list.d/src-$(basename "$file")" >/dev/null
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | $sudo_cmd tee /etc/apt/sources.list.d/src-sources.list >/dev/null
  fi
  apt_update
}

fetch_debian_source() {
  local package=$1 source=$2 dest=$3 installed version folder
  installed=$(dpkg-query -W -f='${source:Version}' "$package" 2>/dev/null || true)
  for version in $installed $(apt-cache showsrc "$source" 2>/dev/null | sed -n 's/^Version: //p' | sort -Vru); do
    rm -rf "$dest"
    mkdir -p "$dest"
    (cd "$dest" && apt-get source -qq "$source=$version" >/dev/null 2>&1) || continue
    folder=$(find "$dest" -mindepth 1 -maxdepth 1 -type d | head -n 1)
    [ -n "$folder" ] || continue
    [ "$version" = "$installed" ] || echo "== $source $installed cannot be fetched; using $version" >&2
    echo "$folder"
    return 0
  done
  echo "apt-get source $source gave no source folder" >&2
  return 1
}
