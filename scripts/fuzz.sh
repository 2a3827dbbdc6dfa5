#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan), with an
# instrumented libjpeg-turbo (scripts/fuzz-libjpeg.sh), and runs each
# fuzz/fuzz_<name>.cpp target for SECONDS seconds (default 60) on the seeds
# in fuzz/seeds/<name>/. Fails when a target finds a crash, a leak or a
# sanitizer error; what it found is kept in build-fuzz/artifacts/.
#
# usage: scripts/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
# The JPEG decoder is built instrumented too, so that fuzzing reaches it.
scripts/fuzz-libjpeg.sh build-fuzz/libjpeg-turbo
jpeg=$PWD/build-fuzz/libjpeg-turbo/install
cmake --preset fuzz -DJPEG_INCLUDE_DIR="$jpeg/include" -DJPEG_LIBRARY="$jpeg/lib/libjpeg.a" >/dev/null
cmake --build --preset fuzz
artifacts=build-fuzz/artifacts
mkdir -p "$artifacts"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    names+=("${name#fuzz_}")
  done
fi

failed=()
for name in "${names[@]}"; do
  target=build-fuzz/bin/fuzz_$name
  seeds=fuzz/seeds/$name
  # New inputs go to a scratch corpus; the seeds folder is only read.
  mkdir -p "$scratch/$name"
  echo "== fuzz_$name for ${seconds}s"
  corpus=("$scratch/$name")
  [ -d "$seeds" ] && corpus+=("$seeds")
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/${name}-" \
      "${corpus[@]}" 2>"$scratch/$name.log"; then
    tail -n 40 "$scratch/$name.log"
    failed+=("$name")
  else
    grep -E "^(stat::number_of_executed_units|Done)" "$scratch/$name.log" || true
    # Coverage reached: libFuzzer's last status line.
    grep -E "^#[0-9]+.*cov:" "$scratch/$name.log" | tail -n 1 || true
  fi
done

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing failed: ${failed[*]}"
  exit 1
fi
echo "fuzzing passed: ${names[*]}"
