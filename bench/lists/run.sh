#!/usr/bin/env bash
# Runs the lists benchmark under Wine: bench/lists/run.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${BUILD_DIR:-$top/build}
"$top/scripts/build.sh" >/dev/null
. "$top/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$build"
wine "$build/bench/lists_bench/lists_bench.exe"
