#!/usr/bin/env bash
# The README's test command: installs what is missing, builds, and runs every
# test under Wine. Extra arguments go to ctest (for example -R common).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}

"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh"

. "$top/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_start "$build"

cd "$build"
ctest --output-on-failure -j"${TEST_JOBS:-2}" "$@"
