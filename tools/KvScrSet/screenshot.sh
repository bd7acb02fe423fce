#!/usr/bin/env bash
# A screenshot of the chooser's settings dialog on the test display, with a
# few stand-in savers (they never open a window) installed for the time of
# the picture. Usage: tools/KvScrSet/screenshot.sh [out.png]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
out=${1:-$build/screens/kvscrset-settings.png}

"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
installed=()
cleanup() {
  for file in "${installed[@]}"; do rm -f "$file"; done
  wine_env_stop
}
trap cleanup EXIT
wine_env_start "$build"

program="$build/screens/kvscrset"
rm -rf "$program"
mkdir -p "$program" "$(dirname "$out")"
cp -r "$dist/." "$program/"
windows="$WINEPREFIX/drive_c/windows"
for name in Aquarium Starfield Mystify Bezier Marquee; do
  cp "$build/tests/e2e_scrset/stand_in_saver_plain.exe" "$windows/$name.scr"
  installed+=("$windows/$name.scr")
done
# The third one stored, the fourth left out of the choice.
mkdir -p "$program/Users"
printf '[set]\r\ndefuser=demo\r\n' > "$program/Dravonel.ini"
printf '[set]\r\nSCRNSAVE=C:\\windows\\Mystify.scr\r\n[scr]\r\nKvRndStart=0\r\nKvPeriod=10\r\nC:\\windows\\Bezier.scr=0\r\n' \
  > "$program/Users/demo.set"

wine "$program/KvScrSet.scr" /c >/dev/null 2>&1 &
sleep "${SHOT_DELAY:-5}"
import -window root "$out"
echo "screenshot: $out"
