#!/usr/bin/env bash
# Screenshots of composed wallpapers in a Wine virtual desktop (every
# placement, three calendars) and of the wallpaper and calendar pages in
# English and Russian. Usage (from anywhere):
#   BUILD_DIR=<build folder> bench/composition/screens.sh
# The pictures go to <build folder>/screenshots/composition/.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"

convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
shots="$build/screenshots/composition"
work="$build/bench/compose_bench/screens"
rm -rf "$work"
mkdir -p "$shots" "$work"
windows() { echo "Z:$1" | sed 's|/|\\|g'; }

parts=${*:-wallpapers pages}

# A landscape of 640 x 400: a sky lighter to the right, sun, hills (so that
# smeared and averaged edges differ).
picture="$work/landscape.jpg"
"$convert" -size 640x400 -define gradient:angle=135 gradient:'#1f4f9a-#f4c37a' \
  -fill '#ffe27a' -draw 'circle 470,110 470,60' \
  -fill '#3d7f3a' -draw 'polygon 0,400 0,290 140,230 300,300 420,250 640,310 640,400' \
  -fill '#2a5e2b' -draw 'polygon 0,400 0,350 200,300 380,370 520,330 640,360 640,400' \
  -quality 92 "$picture"

program="$work/program"
cp -r "$dist" "$program"
cp "$build/bench/compose_bench/compose_bench.exe" "$program/"
printf '[set]\r\ndefuser=shots\r\n' > "$program/Dravonel.ini"
mkdir -p "$program/Users" "$work/markers"

trap wine_env_stop EXIT
unset DISPLAY
XVFB_SCREEN=1024x768x24 wine_env_start "$build" >/dev/null

wait_for() {
  local file=$1 waited=0
  until [ -e "$file" ] || [ $waited -ge 600 ]; do sleep 0.1; waited=$((waited + 1)); done
  [ -e "$file" ] || echo "no $(basename "$file") within a minute" >&2
}
# The launcher returns once its program has ended; it is not waited for longer.
stop_desktop() {
  local pid=$1 waited=0
  while kill -0 "$pid" 2>/dev/null && [ $waited -lt 150 ]; do sleep 0.1; waited=$((waited + 1)); done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# Wallpapers: one shot per placement, then the calendars.
wallpapers="p0 p1 p2 p3 p4 p5 p6 p7 p8 calendars calendars-round"
case " $parts " in *" wallpapers "*) ;; *) wallpapers="";; esac
[ -n "$wallpapers" ] && wine explorer /desktop=Wallpapers,1024x768 "$program/compose_bench.exe" show "$(windows "$picture")" \
  "$(windows "$work/markers")" $wallpapers >/dev/null 2>&1 &
desktop=$!
for shot in $wallpapers; do
  wait_for "$work/markers/$shot.ready"
  sleep 2  # the desktop repaints its wallpaper
  import -window root "$shots/wallpaper-$shot.png"
  echo "screenshot: $shots/wallpaper-$shot.png"
  touch "$work/markers/$shot.done"
done
[ -n "$wallpapers" ] && stop_desktop $desktop

# The pages, with a calendar configured so that every control holds a value.
languages="eng rus"
case " $parts " in *" pages "*) ;; *) languages="";; esac
for language in $languages; do
  cat > "$program/Users/shots.set" <<SETTINGS
[set]
ini=$language.ini
KvDrMon=0
KvDrPrevMon=0
KvDrNextMon=0
KvIsVDel=0
KvVDel=12
KvCheckFon=0
KvRound=0
KvColFon=3153952
KvAlpha=4
KvColBoth=15790320
KvKaima=0
KvColKaimBoth=1
KvColYCh=0
KvColY=3394815
KvColMCh=0
KvColM=3381759
KvColDnCh=0
KvColDn=16763955
KvColWCh=0
KvColW=6316287
KvColDate=16777215
KvColObject=2105568
KvObjectVid=2
KvOjectKol=5
KvFontBox=Tahoma
KvStyle=2
KvCharset=204
KvCfUp=0
KvPlain=2
KvPlain1=0
KvUpdateDate=1
KvMonthPrev=744 16 6
KvMonth=744 256 6
KvMonthNext=744 512 6
SETTINGS
  locale=()
  [ "$language" = rus ] && locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
  "${locale[@]}" wine explorer /desktop=Pages-$language,1024x768 "$program/compose_bench.exe" pages \
    "$(windows "$work/markers")" 1:wall-$language 3:calendar-$language >/dev/null 2>&1 &
  desktop=$!
  for page in wall calendar; do
    wait_for "$work/markers/$page-$language.ready"
    sleep 2
    import -window root "$shots/page-$page-$language.png"
    echo "screenshot: $shots/page-$page-$language.png"
    touch "$work/markers/$page-$language.done"
  done
  stop_desktop $desktop
done
