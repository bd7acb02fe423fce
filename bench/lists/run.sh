#!/usr/bin/env bash
# Runs the lists benchmark under Wine: bench/lists/run.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
top_build=${BUILD_DIR:-$top/build}
build=$top_build
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
wine_pick_tree "$top_build"
trap wine_env_stop EXIT
wine_env_start "$build"
wine "$build/bench/lists_bench/lists_bench.exe"
