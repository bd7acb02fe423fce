# Sourced by the benchmark scripts: ImageMagick, the 6000 x 4000 test JPEG
# (made at run time, never committed) and a median timer.

convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

# Makes the picture at $1 unless it is there.
make_big_picture() {
  if [ ! -f "$1" ]; then
    echo "making $1"
    "$convert" -size 6000x4000 gradient:navy-orange -attenuate 0.4 +noise Gaussian -quality 90 "$1"
  fi
}

# Median of three runs of a command, in milliseconds.
median_ms() {
  local times=()
  for _ in 1 2 3; do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 2p
}
