#!/usr/bin/env bash
# Pictures of the folder monitor's and the joke's pages, in English and
# Russian, on Xvfb: screens.sh [output folder]. Builds first.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
out=${1:-$build/screens}
mkdir -p "$out"
"$top/scripts/build.sh"
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
trap wine_env_stop EXIT
wine_env_start "$build"

program="$build/tests/plugin_pages/plugin_pages.exe"
for language in eng rus; do
  for plugin in KvFileMon KvJoke; do
    locale=C.UTF-8
    [ "$language" = rus ] && locale=ru_RU.UTF-8
    LANG=$locale LC_ALL=$locale wine "$program" "$plugin" "Z:${dist//\//\\}\\Language\\$language.ini" 6 \
      >"$out/$plugin-$language.log" 2>&1 &
    shown=$!
    for _ in $(seq 1 100); do grep -q shown "$out/$plugin-$language.log" 2>/dev/null && break; sleep 0.1; done
    sleep 1.5
    name=$(echo "$plugin" | tr 'A-Z' 'a-z' | sed 's/^kv//')
    import -window root -crop 720x620+0+0 "$out/$name-$language.png"
    wait "$shown" || true
    echo "$out/$name-$language.png"
  done
done
