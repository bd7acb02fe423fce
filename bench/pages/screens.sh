#!/usr/bin/env bash
# Screenshots of the hot-key page (its list scrolled), the menu-items page
# and the ProcessView window, in English and Russian. Usage:
#   BUILD_DIR=<build folder> bench/pages/screens.sh
# The pictures go to <build folder>/screenshots/pages/.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null

convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
shots="$build/screenshots/pages"
work="$build/bench/page_shots/screens"
rm -rf "$work"
mkdir -p "$shots" "$work/markers"
windows() { echo "Z:$1" | sed 's|/|\\|g'; }

program="$work/program"
cp -r "$build/dist" "$program"
cp "$build/bench/page_shots/page_shots.exe" "$program/"
printf '[set]\r\ndefuser=shots\r\n' > "$program/Dravonel.ini"
mkdir -p "$program/Users"

. "$top/scripts/wine-env.sh"
trap wine_env_stop EXIT
unset DISPLAY
XVFB_SCREEN=1024x768x24 wine_env_start "$build" >/dev/null

wait_for() {
  local file=$1 waited=0
  until [ -e "$file" ] || [ $waited -ge 1200 ]; do sleep 0.1; waited=$((waited + 1)); done
  [ -e "$file" ] || echo "no $(basename "$file") within two minutes" >&2
}

views=${VIEWS:-"hotkeys-scrolled menuitems procview"}
for language in eng rus; do
  # A few keys set and a few items hidden, so the pages show stored values.
  printf '[set]\r\nini=%s.ini\r\n[HotKey]\r\nKvShortCut2=590\r\nKvShortCut3=1104\r\nWin5=0\r\nKvShortCut5=844\r\nKvShortCut12=1655\r\n[HideMenu]\r\nKvHide8=0\r\nKvHide9=0\r\n' \
    "$language" > "$program/Users/shots.set"
  rm -f "$work/markers/"*
  locale=()
  [ "$language" = rus ] && locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
  "${locale[@]}" wine explorer "/desktop=Pages-$language,1024x768" "$program/page_shots.exe" \
    "$(windows "$work/markers")" $views >/dev/null 2>&1 &
  desktop=$!
  for view in $views; do
    wait_for "$work/markers/$view.ready"
    read -r x y w h < "$work/markers/$view.ready" || true
    sleep 1
    out="$shots/${SHOT_PREFIX:-issue13}-$view-$language.png"
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
