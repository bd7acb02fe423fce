#!/usr/bin/env bash
# Screenshots of the settings pages, the main menu and the setup program's
# first page, with visual styles, at 96 and 144 DPI, in English and Russian.
# Usage:
#   BUILD_DIR=<build folder> bench/pages/dpi_screens.sh [output folder]
# The pictures (issue23-<view>-<language>-<dpi>.png) go to the output folder,
# by default <build folder>/screenshots/dpi/. The DPI is Wine's "LogPixels"
# of HKCU\Control Panel\Desktop in the private prefix, put back afterwards.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
shots=${1:-$build/screenshots/dpi}
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"

work="$build/bench/page_shots/dpi"
. "$top/bench/pages/page_shots_lib.sh"
prepare_shot_program
# The shipped setup is a 32-bit program; where those cannot run, the same
# script built as an x64 program shows the same pages.
setup="$top_build/Dravonel-setup.exe"
[ "$(wine_tree_kind "$build")" = x64 ] && ! wine_can_run_32bit "$top_build" &&
  setup="$top_build/installer/Dravonel-setup-x64-test.exe"
[ -f "$setup" ] && cp "$setup" "$program/Dravonel-setup.exe"

restore_dpi() { wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true; }
trap 'restore_dpi; wine_env_stop' EXIT
unset DISPLAY
XVFB_SCREEN=1280x1024x24 wine_env_start "$build" >/dev/null

views=${VIEWS:-"page0 page1 page2 page3 page4 page5 mainmenu setup"}
for dpi in ${DPIS:-96 144}; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  for language in eng rus; do
    printf '[set]\r\nini=%s.ini\r\n' "$language" > "$program/Users/shots.set"
    shot_locale=(env LANG=C.UTF-8 LC_ALL=C.UTF-8)
    [ "$language" = rus ] && shot_locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
    shot_name() { echo "$shots/issue23-$1-$language-$dpi.png"; }
    # shellcheck disable=SC2086  # the views are words
    shoot_views "Dpi$dpi-$language" 1280x1024 shot_name $views
  done
done
