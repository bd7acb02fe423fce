#!/usr/bin/env bash
# Screenshots of KvReminder's windows through the fake host: the editor, a
# fired reminder, notes on the desktop and a note's settings, in English and in Russian, each in
# a Wine virtual desktop on Xvfb. PNGs go to the folder given (default
# build/reminder-screens) as issue18-<scene>-<language>.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
out=${1:-$build/reminder-screens}
mkdir -p "$out"
if ! built=$("$top/scripts/build.sh" 2>&1); then
  echo "$built" | tail -30
  exit 1
fi
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
stager="$build/tests/reminder_screens/reminder_screens.exe"

unset DISPLAY
trap wine_env_stop EXIT
wine_env_start "$build"

work="$build/tests/reminder_screens"
for language in eng rus; do
  for scene in editor reminder notes notesettings; do
    rm -f "$work/ready" "$work/done"
    locale=()
    [ "$language" = rus ] && locale=(env LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8)
    "${locale[@]}" wine explorer /desktop=Shots,1024x768 "$stager" "$scene" "$language" \
      "Z:${work//\//\\}\\ready" "Z:${work//\//\\}\\done" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 300); do [ -f "$work/ready" ] && break; sleep 0.2; done
    sleep 0.5
    import -window root "$out/issue18-$scene-$language.png"
    echo "screenshot: $out/issue18-$scene-$language.png"
    touch "$work/done"
    wait "$pid" || true
  done
done
