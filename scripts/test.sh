#!/usr/bin/env bash
# The README's test command: installs what is missing, builds both kinds, and
# runs the tests under Wine in lanes:
#   x64     always: every test, x64 programs in a prefix made by 64-bit Wine;
#   32-bit  where this machine runs 32-bit programs: the end-to-end tests and
#           every test of the plug-in and loader interface (ctest label
#           lane32), in a 32-bit prefix. DRAVONEL_32BIT_LANE=all runs every
#           test there too.
# Extra arguments go to ctest in each lane (for example -R common).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}

"$top/scripts/bootstrap.sh"
"$top/scripts/build.sh"

. "$top/scripts/wine-env.sh"
trap wine_env_stop EXIT
wine_env_display

failed=()

# Whether 32-bit programs run here decides the second lane; the x64 lane's
# tests that need a 32-bit program (the setup program) read the answer.
if wine_can_run_32bit "$build"; then
  export DRAVONEL_RUNS_32BIT=1
else
  export DRAVONEL_RUNS_32BIT=0
fi

run_lane() {
  local name=$1 tree=$2
  shift 2
  echo "=== $name lane: $tree"
  wine_env_start "$tree"
  local status=0
  (cd "$tree" && ctest --output-on-failure -j"${TEST_JOBS:-2}" "$@") || status=$?
  wine_env_stop_prefix
  [ $status -eq 0 ] || failed+=("$name")
}

# A lane that finds no test at all is a broken selection, unless the caller
# chose the tests.
guard=()
[ $# -eq 0 ] && guard=(--no-tests=error)

run_lane x64 "$build/x64" "${guard[@]}" "$@"

if [ "$DRAVONEL_RUNS_32BIT" = 1 ]; then
  if [ "${DRAVONEL_32BIT_LANE:-}" = all ]; then
    run_lane 32-bit "$build" "${guard[@]}" "$@"
  else
    run_lane 32-bit "$build" "${guard[@]}" -L lane32 "$@"
  fi
  lane32="the 32-bit lane too ($wine_32bit_reason)"
else
  lane32="not the 32-bit lane: $wine_32bit_reason"
fi

echo "lanes: the x64 lane (always), and $lane32"
if [ ${#failed[@]} -gt 0 ]; then
  echo "failed lanes: ${failed[*]}" >&2
  exit 1
fi
