#!/usr/bin/env bash
# Draws the demo pictures that run.sh puts in a wallpaper list: made here with
# ImageMagick, so they are ours to ship. Usage: make_demo_pictures.sh FOLDER
set -euo pipefail
out=$1
mkdir -p "$out"
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
size=1280x800
make() {
  local name=$1; shift
  [ -f "$out/$name.jpg" ] || "$convert" "$@" -quality 88 "$out/$name.jpg"
}
make 01-sunset -size $size gradient:'#1e3c72'-'#f6a96b' \
  -fill '#ffd66b' -draw 'circle 900,560 900,470' \
  -fill '#2d5016' -draw 'polygon 0,800 0,600 300,500 650,640 1000,520 1280,610 1280,800' \
  -fill '#1b3a0e' -draw 'polygon 0,800 0,700 420,620 800,720 1280,660 1280,800'
make 02-sea -size $size gradient:'#87ceeb'-'#0b3d91' \
  -fill '#fff4c2' -draw 'circle 300,180 300,120' \
  -fill '#0a2f6b' -draw 'rectangle 0,430 1280,800' \
  -stroke '#4f86c6' -strokewidth 4 -fill none \
  -draw 'path "M 0,480 Q 160,450 320,480 T 640,480 T 960,480 T 1280,480"' \
  -draw 'path "M 0,560 Q 160,530 320,560 T 640,560 T 960,560 T 1280,560"' \
  -draw 'path "M 0,650 Q 160,620 320,650 T 640,650 T 960,650 T 1280,650"'
make 03-clouds -seed 7 -size $size plasma:'#5d9cec'-'#ffffff' -blur 0x6
RANDOM=11
stars=""
for _ in $(seq 1 180); do stars+="point $((RANDOM % 1280)),$((RANDOM % 560)) "; done
make 04-night -size $size gradient:'#000010'-'#1a1a4a' -fill '#ffffff' -draw "$stars" \
  -fill '#f5f3ce' -draw 'circle 1000,200 1000,150' -fill '#05061c' -draw 'circle 1020,185 1020,140' \
  -fill '#101030' -draw 'polygon 0,800 0,650 250,600 520,690 860,610 1280,680 1280,800'
make 05-forest -size $size gradient:'#cfe8c9'-'#3b6b35' \
  -fill '#1f4d1a' -draw 'polygon 100,800 220,420 340,800' -draw 'polygon 300,800 450,360 600,800' \
  -draw 'polygon 560,800 700,440 840,800' -draw 'polygon 800,800 960,340 1120,800' \
  -draw 'polygon 1050,800 1170,460 1290,800'
make 06-dunes -size $size gradient:'#ffe9a8'-'#f08a24' \
  -fill '#d9752a' -draw 'path "M 0,800 L 0,560 Q 320,440 640,560 T 1280,520 L 1280,800 Z"' \
  -fill '#b85a1c' -draw 'path "M 0,800 L 0,680 Q 400,580 800,690 T 1280,650 L 1280,800 Z"'
make 07-aurora -seed 3 -size $size plasma:'#0b6e4f'-'#2e0854' -blur 0x12 -modulate 100,160
make 08-fractal -seed 5 -size $size plasma:fractal -blur 0x3 -modulate 110,120
