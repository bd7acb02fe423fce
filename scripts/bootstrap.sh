#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages, once.
# Safe to run again: it only acts when something is missing.
set -euo pipefail

need_packages=()
have() { command -v "$1" >/dev/null 2>&1; }

# Both kinds: 32-bit and x64 programs.
have i686-w64-mingw32-g++-posix || need_packages+=(g++-mingw-w64-i686)
have x86_64-w64-mingw32-g++-posix || need_packages+=(g++-mingw-w64-x86-64)
have cmake || need_packages+=(cmake)
have ninja || need_packages+=(ninja-build)
have wine || need_packages+=(wine)
# Wine's 64-bit loader runs the x64 lane; the 32-bit one, where the kernel
# runs 32-bit programs, the 32-bit lane.
dpkg -s wine64 >/dev/null 2>&1 || need_packages+=(wine64)
dpkg -s wine32:i386 >/dev/null 2>&1 || need_packages+=(wine32:i386)
have Xvfb || need_packages+=(xvfb)
have xauth || need_packages+=(xauth)
[ -x /usr/bin/convert ] || [ -x /usr/bin/convert-im6.q16 ] || need_packages+=(imagemagick)
[ -f /usr/src/googletest/CMakeLists.txt ] || need_packages+=(googletest)
have localedef || need_packages+=(locales)
# The setup program and the portable zip of dist/.
have makensis || need_packages+=(nsis)
have zip || need_packages+=(zip)

if [ ${#need_packages[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "bootstrap: missing ${need_packages[*]}; run as root to install them" >&2
    exit 1
  fi
  echo "bootstrap: installing ${need_packages[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need_packages[@]}" >/dev/null
fi

# Wine takes its ANSI code page from the locale: Russian texts need 1251.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  if [ "$(id -u)" -eq 0 ]; then
    localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 >/dev/null 2>&1 || echo "bootstrap: could not make the ru_RU.UTF-8 locale" >&2
  fi
fi
