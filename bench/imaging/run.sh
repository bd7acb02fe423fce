#!/usr/bin/env bash
# Benchmark of the loader modules on a 6000 x 4000 JPEG, side by side with
# ImageMagick doing the same resize-and-write. Usage (from anywhere):
#   BUILD_DIR=<build folder> bench/imaging/run.sh
# The picture is made here at run time (never committed).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
"$top/scripts/bootstrap.sh"
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
# Only what this benchmark needs, so work in progress elsewhere cannot stop
# it (once both trees are configured).
if [ ! -f "$build/build.ninja" ]; then
  "$top/scripts/build.sh" >/dev/null
fi
cmake --build "$build" --target imaging_bench PixGdip PixCtx PixOle -- -j"${BUILD_JOBS:-2}" >/dev/null 2>&1 ||
  cmake --build "$build" --target imaging_bench PixGdip PixCtx PixOle -- -j"${BUILD_JOBS:-2}"

. "$top/scripts/bench-common.sh"
work="$build/bench/imaging_bench/work"
mkdir -p "$work"
picture="$work/big.jpg"
make_big_picture "$picture"

box_ms=$(median_ms "$convert" "$picture" -filter Box -resize '1920x1080!' BMP3:"$work/imagemagick-box.bmp")
box1_ms=$(median_ms "$convert" -limit thread 1 "$picture" -filter Box -resize '1920x1080!' BMP3:"$work/imagemagick-box1.bmp")
default_ms=$(median_ms "$convert" "$picture" -resize '1920x1080!' BMP3:"$work/imagemagick-default.bmp")
echo "ImageMagick $("$convert" -version | sed -n 's/^Version: ImageMagick \([^ ]*\).*/\1/p'), $(nproc) cores:"
echo "  decode + box resize + BMP write:            ${box_ms} ms"
echo "  the same on one thread (-limit thread 1):   ${box1_ms} ms"
echo "  decode + default (Lanczos) resize + write:  ${default_ms} ms"

windows() { echo "Z:$1" | sed 's|/|\\|g'; }
trap wine_env_stop EXIT
wine_env_start "$build" >/dev/null
wine "$build/bench/imaging_bench/imaging_bench.exe" "$(windows "$dist/Tool")" "$(windows "$picture")" \
  "$(windows "$work")" "$box_ms" "$(windows "$work/imagemagick-box.bmp")"
