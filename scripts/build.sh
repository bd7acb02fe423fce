#!/usr/bin/env bash
# Configures (first time) and builds both kinds from the same sources:
#   build/      32-bit programs (build/dist, and the packages, which hold both)
#   build/x64/  x64 programs (build/dist-x64)
# The x64 tree is built first: the 32-bit tree's packages take it in.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build}

configure() {
  local tree=$1 toolchain=$2
  shift 2
  if [ ! -f "$tree/build.ninja" ]; then
    cmake -S "$top" -B "$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/$toolchain" "$@" >/dev/null
  fi
}

configure "$build/x64" toolchain-x86_64-mingw.cmake -DDRAVONEL_DIST_DIR="$build/dist-x64"
cmake --build "$build/x64" -- -j"${BUILD_JOBS:-2}"
configure "$build" toolchain-i686-mingw.cmake
cmake --build "$build" -- -j"${BUILD_JOBS:-2}"
