#!/usr/bin/env bash
# Makes the PNG, APNG and WebP fixtures of this folder. Tools: ImageMagick 6 (convert), FFmpeg
# (its APNG muxer) and the webp package (cwebp, img2webp). Run from this folder; the results are
# checked in.
set -euo pipefail
cd "$(dirname "$0")"

# Still pictures with alpha, 8 x 6: the left half red at half opacity (alpha 127), the right half
# opaque blue.
convert -size 8x6 xc:none -fill 'rgba(255,0,0,0.5)' -draw 'rectangle 0,0 3,5' \
  -fill blue -draw 'rectangle 4,0 7,5' -define png:color-type=6 alpha.png
cwebp -quiet -lossless -exact alpha.png -o alpha.webp
# A lossy WebP of the rose, beside the pixels dwebp decodes it to.
convert rose: rose-src.png
cwebp -quiet -q 80 rose-src.png -o rose.webp
dwebp -quiet rose.webp -o rose.webp.png
rm rose-src.png

# Animated PNG made by FFmpeg from its test pattern: 3 frames of 32 x 24 at 5 a second (200 ms),
# played forever; the later frames are stored as the rows that changed. anim.apng-N.png are the
# pattern's own frames.
ffmpeg -v error -y -f lavfi -i testsrc=size=32x24:rate=5 -frames:v 3 -plays 0 anim.apng
ffmpeg -v error -y -f lavfi -i testsrc=size=32x24:rate=5 -frames:v 3 -start_number 0 anim.apng-%d.png

# Three 12 x 10 frames with alpha: a red, then a lime, then a blue square at half opacity on a
# transparent canvas, each square one step further right. As an APNG played twice (250 ms a
# frame) and a WebP played three times (delays 100, 200, 300 ms).
for i in 0 1 2; do
  colour=(red lime blue)
  convert -size 12x10 xc:none -fill "${colour[$i]}" -draw "rectangle $((i * 3)),2 $((i * 3 + 5)),7" \
    -channel A -evaluate multiply 0.5 +channel -define png:color-type=6 "alpha-anim-$i.png"
done
ffmpeg -v error -y -framerate 4 -start_number 0 -i alpha-anim-%d.png -pix_fmt rgba -plays 2 alpha-anim.apng
img2webp -loop 3 -lossless -d 100 alpha-anim-0.png -d 200 alpha-anim-1.png -d 300 alpha-anim-2.png \
  -o alpha-anim.webp

# Damaged files: each must be refused.
head -c 120 anim.apng-0.png > damaged-truncated.png
{ head -c 8 alpha.png; head -c 200 /dev/zero; } > damaged-header.png
head -c 40 alpha-anim.webp > damaged-truncated.webp
{ head -c 12 alpha.webp; head -c 200 /dev/zero; } > damaged-header.webp
# An animation cut in its second frame: only the first one stays.
head -c 420 anim.apng > cut-anim.apng
