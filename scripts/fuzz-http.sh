#!/usr/bin/env bash
# Builds the HTTP client's URL parsing and response reading natively with
# clang's libFuzzer and the address and undefined-behaviour sanitizers, and
# runs the fuzzer. FUZZ_SECONDS (default 600) bounds the run; extra arguments
# go to libFuzzer. New inputs collect in build/fuzz/corpus; the seeds in
# fuzz/corpus are only read. A crash is written to build/fuzz/crash-*.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD_DIR:-$top/build/fuzz}
seconds=${FUZZ_SECONDS:-600}

# Debian 12 keeps libFuzzer's runtime in libclang-rt-14-dev.
if ! command -v clang++ >/dev/null 2>&1 || ! dpkg -s libclang-rt-14-dev >/dev/null 2>&1; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "fuzz-http: clang and libclang-rt-14-dev are missing; run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends clang libclang-rt-14-dev >/dev/null
fi

mkdir -p "$out/corpus"
# The sources are Windows-free; only _strdup needs its POSIX name.
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -D_strdup=strdup -I"$top/host" -I"$top/common" \
  "$top/fuzz/http_fuzz.cpp" "$top/host/network/http_request.cpp" "$top/host/network/http_response.cpp" \
  "$top/common/searchandpast.cpp" -o "$out/http_fuzz"

cd "$out"
./http_fuzz -max_total_time="$seconds" -print_final_stats=1 -dict="$top/fuzz/http.dict" \
  -artifact_prefix="$out/" "$@" "$out/corpus" "$top/fuzz/corpus"
