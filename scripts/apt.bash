# Shared by the scripts that install Debian packages. Source it, then:
#   apt_update              refreshes the package lists
#   apt_install PACKAGE...  installs those of the packages that are missing
#
# A mirror caught in the middle of a sync serves an index whose size is not
# the one its signed release file names, and apt then ignores that index:
# on a two-architecture machine the packages of that architecture fall back
# to older versions that no longer match the other one's, and installing
# fails. The update is retried; when the mirror still serves the other
# index, that index is taken as served, with a warning, so that the
# installation can go on (the packages it names are still checked against
# it when they are downloaded).
apt_sudo=""
[ "$(id -u)" -eq 0 ] || apt_sudo="sudo"
apt_get() {
  $apt_sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=1800 "$@"
}

apt_update() {
  local log attempt url lists name
  log=$(mktemp)
  for attempt in 1 2; do
    apt_get update -qq >"$log" 2>&1 && { rm -f "$log"; return 0; }
    grep -q 'File has unexpected size' "$log" || { cat "$log" >&2; rm -f "$log"; return 1; }
    [ "$attempt" = 2 ] || { echo "== a package mirror is syncing; trying again in 10 s" >&2; sleep 10; }
  done
  eval "$(apt-config shell lists Dir::State::lists/d)"
  for url in $(sed -n 's/.*Failed to fetch \([^ ]*\.xz\) *File has unexpected size.*/\1/p' "$log"); do
    name=${url#*://}
    name=${name//\//_}
    echo "== warning: the mirror serves $url at a size its release file does not name; taking it as served" >&2
    $apt_sudo /usr/lib/apt/apt-helper download-file "$url" "$lists/partial/$name" >/dev/null &&
      xz -t "$lists/partial/$name" || { cat "$log" >&2; rm -f "$log"; return 1; }
    if [ "$(apt-config shell g Acquire::GzipIndexes/b)" = "g='true'" ]; then
      $apt_sudo mv "$lists/partial/$name" "$lists/$name"
    else
      xz -dc "$lists/partial/$name" | $apt_sudo tee "$lists/${name%.xz}" >/dev/null
      $apt_sudo rm -f "$lists/partial/$name"
    fi
  done
  rm -f "$log"
}

apt_install() {
  local p missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "== installing ${missing[*]}"
  apt_update
  apt_get install -y -qq --no-install-recommends "${missing[@]}"
}
