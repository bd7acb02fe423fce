#!/usr/bin/env bash
# The README's first command: installs what is missing, builds, and starts
# Dravonel in a Wine virtual desktop. On a display (DISPLAY set) it runs until
# you exit it from its tray menu; without one it runs on Xvfb for a while and
# writes screenshots to build/run/screenshots/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}
run_seconds=${RUN_SECONDS:-30}

"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh"

# A program folder that keeps its settings between runs.
program="$build/run"
mkdir -p "$program"
cp -r "$build/dist/." "$program/"

headless=""
[ -z "${DISPLAY:-}" ] && headless=1
. "$top/scripts/wine-env.sh"
trap wine_env_stop EXIT
XVFB_SCREEN=${XVFB_SCREEN:-1024x768x24} wine_env_start "$build"

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
