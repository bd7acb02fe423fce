#!/bin/sh
# Test pictures for the loader tests, made with ImageMagick at build time.
# Usage: make_pictures.sh <convert> <folder>
set -e
convert=$1
out=$2
mkdir -p "$out"
# Four coloured quadrants of 20 x 15: red, green / blue, yellow.
quad="-size 20x15 xc:#ff0000 xc:#00ff00 +append ( -size 20x15 xc:#0000ff xc:#ffff00 +append ) -append"
$convert $quad -type TrueColor BMP3:"$out/quad.bmp"
$convert $quad "$out/quad.png"
$convert $quad -quality 100 -sampling-factor 1x1 "$out/quad.jpg"
$convert $quad "$out/quad.gif"
$convert -size 48x48 xc:#0000ff -type TrueColorAlpha "$out/blue48.ico"
printf 'This is a text file, not a picture.\r\n' > "$out/notpicture.jpg"
# Left half opaque red, right half fully transparent.
$convert -size 20x10 xc:#ff0000 -size 20x10 xc:none +append "$out/halfclear.png"
