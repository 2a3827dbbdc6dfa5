#!/usr/bin/env bash
# CPU time a running show spends between slide changes: the self-running
# show on the real SDL backend in an Xvfb display, on one long slide, over
# ten seconds. The message loop sleeps between its idle passes, so the
# figure must stay near zero (limit: 2% of one core).
set -u
cd "$(dirname "$0")/.."
bin=${PELLORA_BIN_DIR:-build/bin}
for tool in xvfb-run convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 0; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 800x600 gradient:orange-purple BMP3:"$work/a.bmp"
cat > "$work/show.json" <<'JSON'
{"slides": [{"picture": "a.bmp", "fit": "keep-ratio", "duration": 600, "transition": 2}]}
JSON
"$bin/pellora" pack "$work/show.json" -o "$work/show" >/dev/null || exit 1
cat > "$work/measure.sh" <<'MEASURE'
ticks=$(getconf CLK_TCK)
"$1" & pid=$!
sleep 4
read -r -a a < "/proc/$pid/stat"
sleep 10
read -r -a b < "/proc/$pid/stat"
kill $pid; wait $pid 2>/dev/null
cpu=$(( (b[13] + b[14]) - (a[13] + a[14]) ))
awk -v c="$cpu" -v t="$ticks" 'BEGIN {
  s = c / t; p = 100 * s / 10
  printf "CPU of a running show over 10 s between slide changes: %.2f s (%.2f%% of one core) (limit 2%%) %s\n", s, p, (p <= 2 ? "ok" : "MISSED")
  exit (p <= 2 ? 0 : 1) }'
MEASURE
xvfb-run -a -s "-screen 0 1920x1080x24" bash "$work/measure.sh" "$work/show"
