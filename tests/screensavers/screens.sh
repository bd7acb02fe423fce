#!/usr/bin/env bash
# Screenshots of the screen-saver management, in English and Russian: the
# general page with its saver controls, the main menu from the tray with the
# saver submenu open, and the chooser's settings dialog opened from the
# page. Stand-in savers (they never open a window) are in the prefix's
# Windows folder for the time of the pictures. Usage:
#   BUILD_DIR=<build folder> tests/screensavers/screens.sh [output folder]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
shots=${1:-$build/screenshots/savers}
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"

work="$build/tests/saver_screens"
. "$top/bench/pages/page_shots_lib.sh"
prepare_shot_program

installed=()
cleanup() {
  for file in "${installed[@]}"; do rm -f "$file"; done
  if [ -n "${WINEPREFIX:-}" ]; then
    wine reg delete 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /f >/dev/null 2>&1 || true
  fi
  wine_env_stop
}
trap cleanup EXIT
unset DISPLAY
XVFB_SCREEN=1024x768x24 wine_env_start "$build" >/dev/null

folder="$WINEPREFIX/drive_c/windows"
standins="$build/tests/saver_stand_ins"
for name in Aquarium Starfield Mystify Bezier Marquee; do
  cp "$standins/saver_plain.exe" "$folder/$name.scr"
  installed+=("$folder/$name.scr")
done
cp "$standins/saver_quoted.exe" "$folder/Stand-in.scr"
installed+=("$folder/Stand-in.scr")

declare -A names=([page0]=general-page [savermenu]=saver-menu [scrset]=chooser-settings)
views="page0 savermenu scrset"
for language in eng rus; do
  # English follows the system's saver; Russian has the saver switched off
  # (its own tray icon) with the same saver chosen. The menu shows it checked.
  if [ "$language" = eng ]; then
    printf '[set]\r\nini=eng.ini\r\n' > "$program/Users/shots.set"
  else
    printf '[set]\r\nini=rus.ini\r\nKvScrAuto=0\r\nSCRNSAVE=C:\\windows\\Mystify.scr\r\n' > "$program/Users/shots.set"
  fi
  wine reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /d 'C:\windows\Mystify.scr' /f >/dev/null 2>&1
  shot_locale=()
  [ "$language" = rus ] && shot_locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
  shot_name() { echo "$shots/issue14-${names[$1]}-$language.png"; }
  # shellcheck disable=SC2086  # the views are words
  shoot_views "Savers-$language" 1024x768 shot_name $views
done
