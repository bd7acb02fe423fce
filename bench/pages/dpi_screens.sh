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
build=${BUILD_DIR:-$top/build}
shots=${1:-$build/screenshots/dpi}
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null

convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
work="$build/bench/page_shots/dpi"
rm -rf "$work"
mkdir -p "$shots" "$work/markers"
windows() { echo "Z:$1" | sed 's|/|\\|g'; }

program="$work/program"
cp -r "$build/dist" "$program"
cp "$build/bench/page_shots/page_shots.exe" "$program/"
[ -f "$build/Dravonel-setup.exe" ] && cp "$build/Dravonel-setup.exe" "$program/"
printf '[set]\r\ndefuser=shots\r\n' > "$program/Dravonel.ini"
mkdir -p "$program/Users"

. "$top/scripts/wine-env.sh"
restore_dpi() { wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true; }
trap 'restore_dpi; wine_env_stop' EXIT
unset DISPLAY
XVFB_SCREEN=1280x1024x24 wine_env_start "$build" >/dev/null

wait_for() {
  local file=$1 waited=0
  until [ -e "$file" ] || [ $waited -ge 1200 ]; do sleep 0.1; waited=$((waited + 1)); done
  [ -e "$file" ] || echo "no $(basename "$file") within two minutes" >&2
}

views=${VIEWS:-"page0 page1 page2 page3 page4 page5 mainmenu setup"}
for dpi in ${DPIS:-96 144}; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
  for language in eng rus; do
    printf '[set]\r\nini=%s.ini\r\n' "$language" > "$program/Users/shots.set"
    rm -f "$work/markers/"*
    locale=(env LANG=C.UTF-8 LC_ALL=C.UTF-8)
    [ "$language" = rus ] && locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
    "${locale[@]}" wine explorer "/desktop=Dpi$dpi-$language,1280x1024" "$program/page_shots.exe" \
      "$(windows "$work/markers")" $views >/dev/null 2>&1 &
    desktop=$!
    for view in $views; do
      wait_for "$work/markers/$view.ready"
      read -r x y w h < "$work/markers/$view.ready" || true
      sleep 1
      out="$shots/issue23-$view-$language-$dpi.png"
      import -window root "$work/whole.png"
      "$convert" "$work/whole.png" -crop "$((w + 16))x$((h + 16))+$((x > 8 ? x - 8 : 0))+$((y > 8 ? y - 8 : 0))" +repage "$out"
      echo "screenshot: $out"
      touch "$work/markers/$view.done"
    done
    waited=0
    while kill -0 "$desktop" 2>/dev/null && [ $waited -lt 150 ]; do sleep 0.1; waited=$((waited + 1)); done
    kill "$desktop" 2>/dev/null || true
    wait "$desktop" 2>/dev/null || true
  done
done
