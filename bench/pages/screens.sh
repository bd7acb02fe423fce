#!/usr/bin/env bash
# Screenshots of the hot-key page (its list scrolled), the menu-items page
# and the ProcessView window, in English and Russian; VIEWS names others of
# page_shots.exe (about, savefail, ...). Usage:
#   BUILD_DIR=<build folder> [VIEWS=...] [SHOT_PREFIX=issue13] bench/pages/screens.sh
# The pictures go to <build folder>/screenshots/pages/.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"

shots="$build/screenshots/pages"
work="$build/bench/page_shots/screens"
. "$top/bench/pages/page_shots_lib.sh"
prepare_shot_program

trap wine_env_stop EXIT
unset DISPLAY
XVFB_SCREEN=1024x768x24 wine_env_start "$build" >/dev/null

views=${VIEWS:-"hotkeys-scrolled menuitems procview"}
for language in eng rus; do
  # A few keys set and a few items hidden, so the pages show stored values.
  printf '[set]\r\nini=%s.ini\r\n[HotKey]\r\nKvShortCut2=590\r\nKvShortCut3=1104\r\nWin5=0\r\nKvShortCut5=844\r\nKvShortCut12=1655\r\n[HideMenu]\r\nKvHide8=0\r\nKvHide9=0\r\n' \
    "$language" > "$program/Users/shots.set"
  shot_locale=()
  [ "$language" = rus ] && shot_locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
  shot_name() { echo "$shots/${SHOT_PREFIX:-issue13}-$1-$language.png"; }
  # shellcheck disable=SC2086  # the views are words
  shoot_views "Pages-$language" 1024x768 shot_name $views
done
