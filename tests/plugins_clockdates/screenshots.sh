#!/usr/bin/env bash
# Screenshots of the clock and dates plug-ins: both clocks on a desktop (the
# X screen, taken while the demo runs) and dates printed on a composed
# wallpaper beside the calendar. Usage: screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
out=${1:-$build/screens}
mkdir -p "$out"

"$top/scripts/build.sh"
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
trap wine_env_stop EXIT
# A screen of our own, so the picture holds nothing but the demo.
unset DISPLAY
wine_env_start "$build"

demo_dir=$build/tests/clockdates_demo
pictures=$build/demo-pictures
"$top/scripts/make_demo_pictures.sh" "$pictures" >/dev/null
convert "$pictures/02-sea.jpg" -resize 1024x768! BMP3:"$demo_dir/sea.bmp"

cd "$demo_dir"
wine ./clockdates_demo.exe clocks 6 sea.bmp >/dev/null 2>&1 &
demo=$!
sleep 4.5
import -window root "$out/issue20-clocks.png"
wait $demo

wine ./clockdates_demo.exe dates dates.bmp sea.bmp >/dev/null 2>&1
convert "$demo_dir/dates.bmp" "$out/issue20-dates.png"

# The settings pages; Russian texts need the Windows-1251 code page.
for language in eng rus; do
  for page in clock dates; do
    LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 wine ./clockdates_demo.exe pages 4 $language $page >/dev/null 2>&1 &
    demo=$!
    sleep 3
    import -window root -crop 560x500+0+0 "$out/issue20-page-$page-$language.png"
    wait $demo
  done
done
echo "screenshots in $out"
