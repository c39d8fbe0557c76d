#!/bin/sh
# Renders every SVG under src/resources/art at 16 and 32 px (backgrounds at their own size)
# and builds a contact sheet for a visual check. Needs rsvg-convert and ImageMagick.
set -e
here=$(cd "$(dirname "$0")/../.." && pwd)
art="$here/src/resources/art"
out=${1:-/tmp/art-sheet.png}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
i=0
for f in $(cd "$art" && find . -name '*.svg' ! -path './backgrounds/*' | sort); do
  i=$((i + 1))
  n=$(printf '%04d' $i)
  label=$(echo "$f" | sed 's|^\./||; s|\.svg$||')
  rsvg-convert -w 16 -h 16 "$art/$f" -o "$tmp/a16.png"
  rsvg-convert -w 32 -h 32 "$art/$f" -o "$tmp/a32.png"
  convert -size 60x36 xc:white "$tmp/a16.png" -geometry +4+10 -composite \
    "$tmp/a32.png" -geometry +24+2 -composite "$tmp/i$n.png"
  montage -label "$label" "$tmp/i$n.png" -pointsize 8 -geometry +0+0 "$tmp/t$n.png"
done
montage "$tmp"/t*.png -tile 14x -geometry +3+3 -background '#dddddd' "$tmp/icons.png"
for f in $(cd "$art/backgrounds" && ls *.svg); do
  rsvg-convert "$art/backgrounds/$f" -o "$tmp/b_$f.png"
done
montage "$tmp"/b_*.png -geometry +6+6 -background '#999999' "$tmp/bg.png"
convert "$tmp/icons.png" "$tmp/bg.png" -background '#999999' -gravity west -append "$out"
echo "$out"
