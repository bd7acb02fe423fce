#!/usr/bin/env bash
# Screenshots of the screen-saver management, in English and Russian: the
# general page with its saver controls, the main menu from the tray with the
# saver submenu open, and the chooser's settings dialog opened from the
# page. Stand-in savers (they never open a window) are in the prefix's
# Windows folder for the time of the pictures. Usage:
#   BUILD_DIR=<build folder> tests/screensavers/screens.sh [output folder]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$top/build}
shots=${1:-$build/screenshots/savers}
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null

convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
work="$build/tests/saver_screens"
rm -rf "$work"
mkdir -p "$shots" "$work/markers"
windows() { echo "Z:$1" | sed 's|/|\\|g'; }

program="$work/program"
cp -r "$build/dist" "$program"
cp "$build/bench/page_shots/page_shots.exe" "$program/"
printf '[set]\r\ndefuser=shots\r\n' > "$program/Dravonel.ini"
mkdir -p "$program/Users"

. "$top/scripts/wine-env.sh"
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

wait_for() {
  local file=$1 waited=0
  until [ -e "$file" ] || [ $waited -ge 1200 ]; do sleep 0.1; waited=$((waited + 1)); done
  [ -e "$file" ] || echo "no $(basename "$file") within two minutes" >&2
}

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
  rm -f "$work/markers/"*
  locale=()
  [ "$language" = rus ] && locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
  "${locale[@]}" wine explorer "/desktop=Savers-$language,1024x768" "$program/page_shots.exe" \
    "$(windows "$work/markers")" $views >/dev/null 2>&1 &
  desktop=$!
  for view in $views; do
    wait_for "$work/markers/$view.ready"
    read -r x y w h < "$work/markers/$view.ready" || true
    sleep 1
    out="$shots/issue14-${names[$view]}-$language.png"
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
