# Sourced by the run and test scripts: a private Wine prefix under each build
# tree, one persistent wineserver, and an X display (Xvfb when none is set).
# Everything started here is stopped by wine_env_stop, also on failure.
#
# Two kinds of build tree exist: build/ (32-bit programs, a prefix made by
# Wine's 32-bit side) and build/x64/ (x64 programs, a prefix made by Wine's
# 64-bit loader). Debian's wine and wineboot scripts always pick the 32-bit
# loader when wine32 is installed, so for an x64 tree a small folder of shims
# first on PATH sends "wine" and "wineboot" to the 64-bit loader.

# x64 or x86: what the tree at $1 builds (its wine-run names the prefix kind).
wine_tree_kind() {
  if grep -q '^WINEARCH=win64' "$1/wine-run" 2>/dev/null; then echo x64; else echo x86; fi
}

# Starts Xvfb unless a display is set (or one was started already).
wine_env_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local display
  for display in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
  done
  Xvfb ":$display" -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
  started_xvfb_pid=$!
  export DISPLAY=":$display"
  local waited=0
  until [ -e "/tmp/.X11-unix/X$display" ] || [ $waited -ge 100 ]; do sleep 0.1; waited=$((waited + 1)); done
}

# The loader for x64 programs, as the tree's wine-run found it.
wine_x64_loader() {
  sed -n 's/^ *export WINELOADER="\(.*\)"$/\1/p' "$1/wine-run" | head -n 1
}

# Points Wine at the prefix and loader of the tree at $1, without starting
# anything: for scripts that only want "wine" to mean the right loader.
wine_env_select() {
  local build
  build=$(cd "$1" && pwd)
  export WINEPREFIX="$build/wineprefix"
  export WINEDEBUG=-all
  # No Mono or Gecko prompt; shortcuts made by the setup program in the
  # prefix's Start menu must not become menu entries of the Linux desktop;
  # and a program that crashes ends at once instead of waiting in Wine's
  # debugger until its test's time limit.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
  if [ -n "${wine_shim_path:-}" ]; then
    PATH=${PATH#"$wine_shim_path:"}
    wine_shim_path=""
  fi
  if [ "$(wine_tree_kind "$build")" = x64 ]; then
    export WINEARCH=win64
    export WINELOADER
    WINELOADER=$(wine_x64_loader "$build")
    wine_shim_path="$build/wine-shims"
    mkdir -p "$wine_shim_path"
    printf '#!/bin/sh\nexec "%s" "$@"\n' "$WINELOADER" > "$wine_shim_path/wine"
    printf '#!/bin/sh\nexec "%s" wineboot.exe "$@"\n' "$WINELOADER" > "$wine_shim_path/wineboot"
    cp "$wine_shim_path/wine" "$wine_shim_path/wine64"
    chmod +x "$wine_shim_path"/*
    export PATH="$wine_shim_path:$PATH"
  else
    export WINEARCH=win32
    unset WINELOADER
  fi
}

# Makes the prefix of the tree at $1 unless it is there. $2, if given, is a
# time limit in seconds: an emulated loader would otherwise take many minutes.
wine_env_prefix() {
  local build=$1 limit=${2:-0}
  [ -f "$WINEPREFIX/.dravonel-prefix" ] && return 0
  echo "wine: creating the private $(wine_tree_kind "$build") prefix in $WINEPREFIX"
  local run=()
  [ "$limit" -gt 0 ] && run=(timeout -k 5 "$limit")
  "${run[@]}" wineboot -i >/dev/null 2>&1 || true
  # Without a window manager Wine waits two seconds for every hidden window
  # that the (absent) manager would handle; unmanaged windows hide at once.
  "${run[@]}" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || return 1
  "${run[@]}" wineserver -w || true
  touch "$WINEPREFIX/.dravonel-prefix"
}

wine_env_start() {
  local build=$1
  started_xvfb_pid=${started_xvfb_pid:-}
  wine_env_display
  wine_env_select "$build"
  wine_env_prefix "$build"
  # One warm server for the whole run, and the desktop process and services
  # started with their output discarded.
  if wineserver -p >/dev/null 2>&1; then
    started_wineserver=1
  else
    echo "wine: a wineserver for $WINEPREFIX is already running; using it" >&2
  fi
  if [ -f "$build/tests/wine_warmup.exe" ]; then
    wine "$build/tests/wine_warmup.exe" >/dev/null 2>&1 </dev/null || true
  fi
}

# Ends the wineserver of the current prefix (the display stays).
wine_env_stop_prefix() {
  if [ -n "${started_wineserver:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    started_wineserver=""
  fi
}

wine_env_stop() {
  wine_env_stop_prefix
  if [ -n "${started_xvfb_pid:-}" ]; then
    kill "$started_xvfb_pid" 2>/dev/null || true
    wait "$started_xvfb_pid" 2>/dev/null || true
    started_xvfb_pid=""
  fi
}

# Whether this machine runs 32-bit Windows programs, told in
# wine_32bit_reason. Some kernels run only 64-bit programs ("32-bit emulation
# disabled": Wine's 32-bit loader fails with "Exec format error"), and an
# emulator registered for 32-bit programs would pass a mere version check
# while taking many minutes per program; so a tiny 32-bit program (the
# prefix's own command interpreter) must run in the 32-bit prefix within a
# short time.
# DRAVONEL_NO_32BIT=1 answers no without trying, as such a machine would.
wine_can_run_32bit() {
  local build=$1
  if [ -n "${DRAVONEL_NO_32BIT:-}" ]; then
    wine_32bit_reason="DRAVONEL_NO_32BIT is set"
    return 1
  fi
  local loader=/usr/lib/wine/wine
  [ -x "$loader" ] || loader=$(command -v wine 2>/dev/null || true)
  if [ -z "$loader" ]; then
    wine_32bit_reason="Wine's 32-bit loader is not installed"
    return 1
  fi
  local answer
  # Through bash's own exec: a program the kernel refuses is then told as
  # such, where timeout would hand it to the shell as a script.
  if ! answer=$(timeout -k 2 20 bash -c 'exec "$0" --version' "$loader" 2>&1); then
    case "$answer" in
      *"Exec format error"*) wine_32bit_reason="Wine's 32-bit loader fails with \"Exec format error\": the kernel runs only 64-bit programs" ;;
      *) wine_32bit_reason="Wine's 32-bit loader does not start ($(printf '%s' "$answer" | head -n 1))" ;;
    esac
    return 1
  fi
  local limit=${WINE_32BIT_PROBE_SECONDS:-240} said=""
  wine_env_select "$build"
  if wine_env_prefix "$build" "$limit"; then
    # Into a file, not a pipe: services the program starts would hold a pipe
    # open long after it ended.
    local answer_file="$WINEPREFIX/.dravonel-probe"
    timeout -k 5 60 wine cmd /c echo dravonel-32-bit >"$answer_file" 2>/dev/null </dev/null || true
    said=$(tr -d '\r' <"$answer_file" 2>/dev/null || true)
  fi
  if [ "$said" != dravonel-32-bit ]; then
    wineserver -k >/dev/null 2>&1 || true
    wine_32bit_reason="a tiny 32-bit program did not run under Wine within ${limit} s (an emulated loader is far too slow)"
    return 1
  fi
  wineserver -k >/dev/null 2>&1 || true
  wine_32bit_reason="a tiny 32-bit program ran under Wine"
  return 0
}

# The installable tree a build tree makes (build/dist, build/dist-x64).
wine_tree_dist() {
  local dist
  dist=$(sed -n 's/^DRAVONEL_DIST_DIR:PATH=//p' "$1/CMakeCache.txt" 2>/dev/null)
  echo "${dist:-$1/dist}"
}

# For the scripts that show or measure one kind: sets build to the 32-bit
# tree under $1 where this machine runs 32-bit programs, else to the x64
# tree ($1/x64), dist to its installable tree, and says which.
# DRAVONEL_KIND=x64 or x86 chooses.
wine_pick_tree() {
  local top_build=$1
  case "${DRAVONEL_KIND:-}" in
    x64) build="$top_build/x64"; echo "kind: x64 (DRAVONEL_KIND=x64)" ;;
    x86) build="$top_build"; echo "kind: 32-bit (DRAVONEL_KIND=x86)" ;;
    *)
      if wine_can_run_32bit "$top_build"; then
        build="$top_build"
        echo "kind: 32-bit ($wine_32bit_reason)"
      else
        build="$top_build/x64"
        echo "kind: x64 (32-bit programs cannot run here: $wine_32bit_reason)"
      fi
      ;;
  esac
  dist=$(wine_tree_dist "$build")
}
