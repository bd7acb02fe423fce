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

# Makes a 12000 x 8000 picture (96 megapixels) at $1 unless it is there: a
# gradient with noise written row by row as PPM (ImageMagick's resource
# limits here allow one picture that size, not the two its noise makes),
# then turned into a JPEG.
make_huge_picture() {
  if [ ! -f "$1" ]; then
    echo "making $1"
    python3 - "$1.ppm" <<'PYTHON'
import os, sys
width, height = 12000, 8000
with open(sys.argv[1], "wb") as out:
    out.write(b"P6 %d %d 255\n" % (width, height))
    row = bytearray(width * 3)
    for y in range(height):
        t = y / (height - 1)
        for channel, (top, bottom) in enumerate(((0, 255), (0, 165), (128, 0))):
            base = top + (bottom - top) * t
            table = bytes(max(0, min(255, int(base + (r - 128) * 0.3))) for r in range(256))
            row[channel::3] = os.urandom(width).translate(table)
        out.write(row)
PYTHON
    "$convert" "$1.ppm" -quality 90 JPEG:"$1.new" && mv "$1.new" "$1"
    rm -f "$1.ppm" "$1.new"
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
