# Sourced by the run and test scripts: a private Wine prefix under the build
# folder, one persistent wineserver, and an X display (Xvfb when none is set).
# Everything started here is stopped by wine_env_stop, also on failure.

wine_env_start() {
  local build=$1
  export WINEPREFIX="$build/wineprefix"
  export WINEARCH=win32
  export WINEDEBUG=-all
  # No Mono or Gecko prompt; and shortcuts made by the setup program in the
  # prefix's Start menu must not become menu entries of the Linux desktop.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  started_xvfb_pid=""

  if [ -z "${DISPLAY:-}" ]; then
    local display
    for display in $(seq 90 140); do
      [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
    done
    Xvfb ":$display" -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
    started_xvfb_pid=$!
    export DISPLAY=":$display"
    local waited=0
    until [ -e "/tmp/.X11-unix/X$display" ] || [ $waited -ge 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  fi

  if [ ! -f "$WINEPREFIX/.dravonel-prefix" ]; then
    echo "wine: creating the private prefix in $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    # Without a window manager Wine waits two seconds for every hidden window
    # that the (absent) manager would handle; unmanaged windows hide at once.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.dravonel-prefix"
  fi
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

wine_env_stop() {
  if [ -n "${started_wineserver:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    started_wineserver=""
  fi
  if [ -n "${started_xvfb_pid:-}" ]; then
    kill "$started_xvfb_pid" 2>/dev/null || true
    wait "$started_xvfb_pid" 2>/dev/null || true
    started_xvfb_pid=""
  fi
}
