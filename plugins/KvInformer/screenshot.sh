#!/usr/bin/env bash
# Pictures of the informer's settings page (English, and Russian with the
# Russian code page) and of a wallpaper composed with an informer badge, as
# the plug-in tests make them through their fake host.
# Usage: plugins/KvInformer/screenshot.sh [folder for the PNGs]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
out=${1:-$build/screens}

"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
trap wine_env_stop EXIT
wine_env_start "$build"

tests="$build/tests/informer_plugin_tests"
mkdir -p "$out"
cd "$tests"
wine ./informer_plugin_tests.exe --gtest_filter='*PageAndWallpaperPictures*' >/dev/null
LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 wine ./informer_plugin_tests.exe --gtest_filter='*PageAndWallpaperPictures*' >/dev/null
for picture in informer-page-eng informer-page-rus informer-wallpaper; do
  convert "$tests/$picture.bmp" "$out/issue19-$picture.png"
  echo "screenshot: $out/issue19-$picture.png"
done
