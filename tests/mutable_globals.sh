#!/usr/bin/env bash
# The mutable variables at namespace scope (or static in a function) of the
# shipped libraries, read from their symbols: data and bss, less vtables,
# typeinfo, guard variables and what the compiler adds (the sanitizers'
# own markers among them), and the standard library's own state that its
# headers instantiate in our objects (such as the pool atomic waits use).
# Each must be on the reviewed list, with the reason it has no owner to
# live in; an entry of the list for this system that no library defines
# any more fails too.
#
# usage: mutable_globals.sh LIST SYSTEM LIBRARY... (NM names the nm to use)
set -u
list=$1 system=$2
shift 2
nm=${NM:-nm}
failed=0

# Entries: "symbol pattern | systems | reason", the pattern a shell glob of
# the demangled name.
patterns=()
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] && continue
  pattern=${line%%|*}
  rest=${line#*|}
  systems=${rest%%|*}
  pattern=$(sed 's/[[:space:]]*$//' <<<"$pattern")
  [[ " $systems " == *" $system "* || " $systems " == *" all "* ]] || continue
  patterns+=("$pattern")
done <"$list"

found=$(for library in "$@"; do
  "$nm" -f sysv -C --defined-only "$library" | awk -F'|' '
    { name = $1; section = $NF; gsub(/[[:space:]]+$/, "", name); gsub(/^[[:space:]]+|[[:space:]]+$/, "", section) }
    section ~ /^\.(bss|data|tbss|tdata)/ && section !~ /^\.data\.rel\.ro/ && name !~ /^\./ &&
      name !~ /^(vtable for|typeinfo|VTT for|construction vtable|guard variable|DW\.ref|std::|__odr_asan|__asan|__ubsan|__sancov)/ { print name }'
done | sort -u)

declare -A matched
while IFS= read -r symbol; do
  [ -z "$symbol" ] && continue
  ok=0
  for pattern in "${patterns[@]}"; do
    # shellcheck disable=SC2053
    if [[ $symbol == $pattern ]]; then
      ok=1
      matched[$pattern]=1
    fi
  done
  if [ "$ok" = 0 ]; then
    echo "not on the reviewed list ($list): $symbol"
    failed=1
  fi
done <<<"$found"
for pattern in "${patterns[@]}"; do
  [ -n "${matched[$pattern]+x}" ] || { echo "on the list for $system but defined nowhere: $pattern"; failed=1; }
done
[ "$failed" = 0 ] && echo "every mutable global of the libraries is on the reviewed list"
exit "$failed"
