# Sourced by the scripts that picture windows through page_shots.exe. The
# caller sets build, shots and work, and starts the Wine environment.

convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
windows() { echo "Z:$1" | sed 's|/|\\|g'; }

# A fresh copy of the program in $work/program, the driver beside it, one
# settings user "shots" for every Windows user.
prepare_shot_program() {
  rm -rf "$work"
  mkdir -p "$shots" "$work/markers"
  program="$work/program"
  cp -r "$dist" "$program"
  cp "$build/bench/page_shots/page_shots.exe" "$program/"
  printf '[set]\r\ndefuser=shots\r\n' > "$program/Dravonel.ini"
  mkdir -p "$program/Users"
}

wait_for() {
  local file=$1 waited=0
  until [ -e "$file" ] || [ $waited -ge 1200 ]; do sleep 0.1; waited=$((waited + 1)); done
  [ -e "$file" ] || echo "no $(basename "$file") within two minutes" >&2
}

# shoot_views DESKTOP SIZE NAMER VIEW...: the driver shows each view in a
# Wine virtual desktop DESKTOP of SIZE (WxH) and reports its rectangle; the
# screen is cropped to it, 8 pixels around, into the file NAMER prints for
# the view. shot_locale (an array, may be empty) goes before wine.
shot_locale=()
shoot_views() {
  local name=$1 size=$2 namer=$3
  shift 3
  local view x y w h out desktop waited=0
  rm -f "$work/markers/"*
  "${shot_locale[@]}" wine explorer "/desktop=$name,$size" "$program/page_shots.exe" \
    "$(windows "$work/markers")" "$@" >/dev/null 2>&1 &
  desktop=$!
  for view in "$@"; do
    wait_for "$work/markers/$view.ready"
    read -r x y w h < "$work/markers/$view.ready" || true
    sleep 1
    out=$("$namer" "$view")
    import -window root "$work/whole.png"
    "$convert" "$work/whole.png" -crop "$((w + 16))x$((h + 16))+$((x > 8 ? x - 8 : 0))+$((y > 8 ? y - 8 : 0))" +repage "$out"
    echo "screenshot: $out"
    touch "$work/markers/$view.done"
  done
  while kill -0 "$desktop" 2>/dev/null && [ $waited -lt 150 ]; do sleep 0.1; waited=$((waited + 1)); done
  kill "$desktop" 2>/dev/null || true
  wait "$desktop" 2>/dev/null || true
}
