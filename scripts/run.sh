#!/usr/bin/env bash
# The README's first command: installs what is missing, builds, and starts
# Dravonel in a Wine virtual desktop: the 32-bit build where this machine
# runs 32-bit programs, the x64 build otherwise (DRAVONEL_KIND=x64 or x86
# chooses), and says which. On a display (DISPLAY set) it runs until
# you exit it from its tray menu; without one it runs on Xvfb for a while and
# writes screenshots to build/run/screenshots/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
top_build=${BUILD_DIR:-$top/build}
run_seconds=${RUN_SECONDS:-30}

"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh"

headless=""
[ -z "${DISPLAY:-}" ] && headless=1
. "$top/scripts/wine-env.sh"
trap wine_env_stop EXIT
XVFB_SCREEN=${XVFB_SCREEN:-1024x768x24} wine_env_display
wine_pick_tree "$top_build"

# A program folder that keeps its settings between runs, with a demo list of
# pictures that changes every five seconds the first time.
program="$top_build/run"
mkdir -p "$program/Lists" "$program/Users"
cp -r "$(wine_tree_dist "$build")/." "$program/"
"$top/scripts/make_demo_pictures.sh" "$program/Pictures"
if [ ! -f "$program/Users/demo.set" ]; then
  language=${DRAVONEL_LANGUAGE:-eng}
  printf '[set]\r\ndefuser=demo\r\n' > "$program/Dravonel.ini"
  printf '[set]\r\nini=%s.ini\r\nKvFileList=Demo\r\nKvPeriod=1\r\nKvCeOnSc=7\r\nKvDrMon=0\r\nKvCheckFon=0\r\nKvRound=0\r\nKvColFon=2105376\r\nKvAlpha=4\r\n' \
    "$language" > "$program/Users/demo.set"
  list=""
  count=0
  for picture in "$program"/Pictures/*.jpg; do
    list+="%Dravonel_path%\\Pictures\\$(basename "$picture")#0"$'\n'
    count=$((count + 1))
  done
  printf '%s#%d' "$list" "$count" > "$program/Lists/Demo.lst"
fi

wine_env_start "$build"

desktop_size=1024x768
if [ -z "$headless" ]; then desktop_size=${DESKTOP_SIZE:-1024x768}; fi

echo "Starting Dravonel in a Wine virtual desktop ($desktop_size)"
wine explorer "/desktop=Dravonel,$desktop_size" "$program/Dravonel.exe" >/dev/null 2>&1 &
desktop_pid=$!

if [ -z "$headless" ]; then
  wait "$desktop_pid" || true
  exit 0
fi

shots="$program/screenshots"
mkdir -p "$shots"
for second in $(seq 1 "$run_seconds"); do
  sleep 1
  if [ $((second % 10)) -eq 0 ]; then
    import -window root "$shots/after-${second}s.png" 2>/dev/null && echo "screenshot: $shots/after-${second}s.png"
  fi
done
# Ask the program to exit the way a second start with /ex does.
wine "$program/Dravonel.exe" /ex >/dev/null 2>&1 || true
sleep 2
kill "$desktop_pid" 2>/dev/null || true
wait "$desktop_pid" 2>/dev/null || true
