#!/usr/bin/env bash
# Runs the host benchmark under Wine: bench/host/run.sh [runs] [seconds at rest]
# Beside what the program reads through the Windows API, the processor time
# of the resting host is read from Linux (/proc), since Wine does not report
# another process's times.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
trap wine_env_stop EXIT
wine_env_start "$build"

out=$(mktemp)
wine "$build/bench/host_bench/host_bench.exe" "$@" >"$out" 2>&1 &
bench=$!

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
until grep -q '^resting' "$out" || ! kill -0 $bench 2>/dev/null; do sleep 0.2; done
host=$(pgrep -n -f 'Dravonel\.exe' || true)
if [ -n "$host" ]; then
  before=$(ticks "$host"); start=$(date +%s%N)
  until grep -q '^rested' "$out" || ! kill -0 $bench 2>/dev/null; do sleep 0.2; done
  after=$(ticks "$host"); end=$(date +%s%N)
fi
wait $bench || true
grep '^|' "$out"
if [ -n "$host" ]; then
  hz=$(getconf CLK_TCK)
  awk -v t=$((after - before)) -v hz="$hz" -v ns=$((end - start)) 'BEGIN {
    ms = 1000 * t / hz; wall = ns / 1e6;
    printf "| Host at rest | processor, Linux /proc of the Wine process | %.3f %% (%d ms in %.0f s) | < 0.1 %% |\n", 100 * ms / wall, ms, wall / 1000; }'
fi
rm -f "$out"
