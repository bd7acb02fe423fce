#!/usr/bin/env bash
# Composition benchmark under Wine on screens of 1920 x 1080 and 3840 x 2160
# (Xvfb of that size each), side by side with ImageMagick filling the same
# screen from the same picture; then every placement from a 12000 x 8000 JPEG
# at 1920 x 1080. Usage (from anywhere):
#   BUILD_DIR=<build folder> bench/composition/run.sh [huge]
# ("huge" runs the large picture only). The JPEGs are made here at run time
# (never committed).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"

. "$top/scripts/bench-common.sh"
work="$build/bench/compose_bench/work"
mkdir -p "$work"
picture="$work/big.jpg"
make_big_picture "$picture"
huge="$work/huge.jpg"
make_huge_picture "$huge"
# A program folder: the modules, the language files, the bench beside them.
program="$work/program"
rm -rf "$program"
cp -r "$dist" "$program"
cp "$build/bench/compose_bench/compose_bench.exe" "$program/"

windows() { echo "Z:$1" | sed 's|/|\\|g'; }

trap wine_env_stop EXIT
screens="1920x1080 3840x2160"
[ "${1:-}" = huge ] && screens=""
for screen in $screens; do
  fill_ms=$(median_ms "$convert" "$picture" -resize "$screen^" -gravity center -extent "$screen" \
    BMP3:"$work/imagemagick-fill.bmp")
  echo "== $screen: ImageMagick decode + fill resize + BMP write: $fill_ms ms"
  unset DISPLAY
  XVFB_SCREEN="${screen}x24" wine_env_start "$build" >/dev/null
  wine "$program/compose_bench.exe" bench "$(windows "$picture")" "$fill_ms"
  wine_env_stop
done
unset DISPLAY
XVFB_SCREEN=1920x1080x24 wine_env_start "$build" >/dev/null
wine "$program/compose_bench.exe" huge "$(windows "$huge")"
wine_env_stop
