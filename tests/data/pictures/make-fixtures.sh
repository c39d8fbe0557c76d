#!/usr/bin/env bash
# Makes every picture fixture of this folder and the PNG of its expected pixels.
# Tools: ImageMagick 6 (convert) and libjpeg-turbo's cjpeg/djpeg. The source picture is
# ImageMagick's built-in 70 x 46 "rose:" image. Run from this folder; the results are checked in.
set -euo pipefail
cd "$(dirname "$0")"

# Expected pixels of a picture as ImageMagick decodes it (first image only).
expect() { convert "$1[0]" -define png:color-type=6 "${1%.*}.${1##*.}.png"; }

# BMP: 24-bit, 1-bit, 4-bit palette, 8-bit run-length coded.
convert rose: bmp3:rose.bmp && expect rose.bmp
convert rose: -monochrome bmp3:rose-mono.bmp && expect rose-mono.bmp
convert rose: -colors 16 bmp3:rose-4bit.bmp && expect rose-4bit.bmp
convert rose: -type palette -compress rle bmp3:rose-rle8.bmp && expect rose-rle8.bmp

# ICO with three sizes; the picture control takes the 32 x 32 one (index 1).
convert rose: -define icon:auto-resize=48,32,16 rose.ico
convert 'rose.ico[1]' -define png:color-type=6 rose.ico.png

# PCX: 24-bit (3 planes), 8-bit with the end-of-file palette, 1-bit (from a 1-bit bitmap).
convert rose: rose.pcx && expect rose.pcx
convert rose: -type palette rose-8.pcx && expect rose-8.pcx
# ImageMagick writes and reads 1-bit PCX with a set bit meaning black, against the black-then-
# white palette it writes in the header; other readers (and ours) follow the header, so the
# expected pixels are ImageMagick's negated.
convert rose-mono.bmp rose-mono.pcx && convert rose-mono.pcx -negate -define png:color-type=6 rose-mono.pcx.png

# TIFF: plain, LZW, Deflate, PackBits, Group 4 1-bit, grey, palette, tiled, 16-bit, JPEG.
convert rose: -compress none rose.tif && expect rose.tif
convert rose: -compress lzw rose-lzw.tif && expect rose-lzw.tif
convert rose: -compress zip rose-zip.tif && expect rose-zip.tif
convert rose: -compress rle rose-packbits.tif && expect rose-packbits.tif
convert rose: -monochrome -compress group4 rose-g4.tif && expect rose-g4.tif
convert rose: -colorspace gray rose-gray.tif && expect rose-gray.tif
convert rose: -type palette rose-palette.tif && expect rose-palette.tif
convert rose: -define tiff:tile-geometry=32x32 rose-tiled.tif && expect rose-tiled.tif
convert rose: -depth 16 rose-16bit.tif && expect rose-16bit.tif
convert rose: -compress jpeg -quality 90 rose-jpeg.tif && expect rose-jpeg.tif

# GIF: single frame, interlaced, transparent, and a four-frame animation played twice (a loop
# block of 1)
# with delays 0 (raised to a tenth), 25 and 50 hundredths and disposals none, background, previous.
convert rose: rose.gif && expect rose.gif
convert rose: -interlace GIF rose-interlaced.gif && expect rose-interlaced.gif
convert rose: -fuzz 10% -transparent white rose-transparent.gif && expect rose-transparent.gif
convert -size 40x30 xc:red \
  -dispose none -delay 0 \( -size 20x10 xc:blue -repage +0+0 \) \
  -dispose background -delay 25 \( -size 10x10 xc:lime -repage +20+10 \) \
  -dispose previous -delay 50 \( -size 10x10 xc:yellow -repage +5+15 \) \
  -loop 2 anim.gif
convert anim.gif -coalesce -define png:color-type=6 anim-%d.png

# JPEG: baseline and progressive, from the same pixels.
convert rose: ppm:rose.ppm
cjpeg -quality 85 -outfile rose.jpg rose.ppm
cjpeg -quality 85 -progressive -outfile rose-progressive.jpg rose.ppm
djpeg -outfile rose.jpg.ppm rose.jpg && convert rose.jpg.ppm rose.jpg.png
djpeg -outfile rose-progressive.jpg.ppm rose-progressive.jpg && convert rose-progressive.jpg.ppm rose-progressive.jpg.png
djpeg -scale 1/2 -outfile rose-half.ppm rose.jpg && convert rose-half.ppm rose.jpg.half.png
rm -f rose.ppm rose.jpg.ppm rose-progressive.jpg.ppm rose-half.ppm

# Damaged files: each must be refused.
head -c 2000 rose.bmp > damaged-truncated.bmp
head -c 1500 rose.pcx > damaged-truncated.pcx
head -c 600 rose.gif > damaged-truncated.gif
head -c 1200 rose.jpg > damaged-truncated.jpg
{ head -c 20 rose.jpg; head -c 400 /dev/zero; } > damaged-header.jpg
{ head -c 8 rose.tif; head -c 3000 /dev/zero; } > damaged-ifd.tif
head -c 400 rose-lzw.tif > damaged-truncated.tif
printf 'not a picture at all' > damaged-garbage.ico

# JPEG with each EXIF orientation 1..8: the upright picture (quadrants red, lime / blue, white,
# 32 x 16) stored turned the other way, so that each file shows that same picture once upright.
# ImageMagick 6 writes no orientation of its own into a JPEG (-orient only changes an EXIF profile's
# reading): the EXIF profile, one IFD with the one Orientation entry, is written here by printf
# and embedded by ImageMagick as the file's APP1 segment.
convert -size 16x8 xc:red xc:lime +append \( -size 16x8 xc:blue xc:white +append \) -append upright.png
undo=("" "-flop" "-rotate 180" "-flip" "-transpose" "-rotate -90" "-transverse" "-rotate 90")
for i in 1 2 3 4 5 6 7 8; do
  printf 'Exif\0\0II*\0\010\0\0\0\001\0\022\001\003\0\001\0\0\0\x0'"$i"'\0\0\0\0\0\0\0' >orient.exif
  # shellcheck disable=SC2086
  convert upright.png ${undo[$((i - 1))]} -profile APP1:orient.exif -quality 98 "orient-$i.jpg"
done
rm orient.exif
