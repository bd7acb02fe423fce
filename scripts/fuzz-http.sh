#!/usr/bin/env bash
# The HTTP client's fuzz target alone (FUZZ_SECONDS, default 600); see fuzz.sh.
set -euo pipefail
export FUZZ_SECONDS=${FUZZ_SECONDS:-600}
exec "$(dirname "$0")/fuzz.sh" http -- "$@"
