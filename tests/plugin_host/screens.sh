#!/usr/bin/env bash
# Pictures of the settings window on plug-in pages and of the main menu with
# the plug-ins' items, in English and Russian, on Xvfb:
# screens.sh [output folder] [prefix]. Builds first.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
out=${1:-$build/screens}
prefix=${2:-plugins}
mkdir -p "$out"
"$top/scripts/build.sh"
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
trap wine_env_stop EXIT
wine_env_start "$build"

program="$build/tests/plugin_screens/plugin_screens.exe"
shoot() {  # language name view [index]
  local language=$1 name=$2; shift 2
  local locale=C.UTF-8
  [ "$language" = rus ] && locale=ru_RU.UTF-8
  local log="$out/$prefix-$name-$language.log"
  LANG=$locale LC_ALL=$locale wine "$program" "$language" "$@" >"$log" 2>&1 &
  local shown=$!
  for _ in $(seq 1 300); do grep -q shown "$log" 2>/dev/null && break; sleep 0.1; done
  local crop=""
  if read -r _ x y w h < <(grep '^window' "$log"); then crop="-crop ${w}x${h}+${x}+${y}"; fi
  [ "$1" = menu ] && crop="-crop 560x560+0+0"
  # shellcheck disable=SC2086
  import -window root $crop "$out/$prefix-$name-$language.png"
  wait "$shown" || true
  echo "$out/$prefix-$name-$language.png"
}
for language in eng rus; do
  shoot "$language" menu menu
  shoot "$language" root page 0
  shoot "$language" joke page 1
  shoot "$language" dates page 3
  shoot "$language" clock page 4
done
# Modules of the other kind beside this kind's own: skipped and named.
if [ "$(wine_tree_kind "$build")" = x64 ]; then other_dist="$top_build/dist"; else other_dist="$top_build/dist-x64"; fi
for language in eng rus; do
  shoot "$language" skipped page 0 "Z:${other_dist//\//\\}\\Plugins\\KvJoke.dll" \
    "Z:${other_dist//\//\\}\\Plugins\\KvClock.dll"
done
