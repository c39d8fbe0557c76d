#!/usr/bin/env bash
# Usage: bench/thumbnails/run.sh BUILD_DIR [FILES]
# Makes a folder of FILES (2,000) media files of the twelve types with ImageMagick, sox, ffmpeg,
# abc2midi and the metafile writer of bench/pictures, then prints:
# - per file, on the same files in the same run: lumavista-thumbnailer against gdk-pixbuf-thumbnailer
#   (BMP, JPEG, GIF, ICO, TIFF) and ffmpegthumbnailer (AVI), each program started once a file as
#   file managers start them;
# - the large-icon style of the whole folder (bench_thumbnails): cold cache, the first screen and
#   every file; warm cache, the first screen; scroll frames with and without thumbnails; memory.
set -euo pipefail
build=${1:?usage: run.sh BUILD_DIR [FILES]}
files=${2:-2000}
data=$(cd "$(dirname "$0")/../../tests/data" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
src=$work/src dir=$work/folder
mkdir -p "$src" "$dir"
export QT_QPA_PLATFORM=offscreen

for v in 1 2 3 4; do
  convert -size 800x600 "gradient:red-blue" -swirl $((v * 60)) "bmp3:$src/p$v.bmp" &
  convert -size 1600x1200 "gradient:yellow-navy" -swirl $((v * 50)) -quality 85 "$src/p$v.jpg" &
  convert -size 1024x768 "gradient:white-green" -swirl $((v * 40)) "$src/p$v.tif" &
  convert -size 640x480 "gradient:orange-purple" -swirl $((v * 30)) "$src/p$v.pcx" &
  convert -delay 20 -size 320x240 xc:red xc:lime "xc:blue" "$src/p$v.gif" &
  convert -size 256x256 "gradient:cyan-magenta" -define icon:auto-resize=256,48,32,16 "$src/p$v.ico" &
  wait
  "$build/bench/bench_pictures_make_metafile" wmf "$src/p$v.wmf" $((v * 100)) >/dev/null
  "$build/bench/bench_pictures_make_metafile" emf "$src/p$v.emf" $((v * 100)) >/dev/null
  ffmpeg -nostdin -v error -f lavfi -i "testsrc=size=640x480:rate=25:duration=$((v * 3))" -c:v mpeg4 -q:v 4 "$src/p$v.avi"
  sox -n -r 44100 -b 16 -c 2 "$src/p$v.wav" synth $((v * 10)) sine $((200 * v)) vol 0.5
  printf 'X:1\nT:t\nM:4/4\nL:1/8\nK:D\n|:DEFG ABcd|edcB AGFE|\nV:2\nD,4 A,4|D,8:|\n' | abc2midi - -o "$src/p$v.mid" >/dev/null
  cp "$data/pictures/cursor.ani" "$src/p$v.ani"
done
i=0
while [ $i -lt "$files" ]; do
  for f in "$src"/*; do
    [ $i -lt "$files" ] || break
    name=$(basename "$f")
    cp "$f" "$dir/$(printf %05d $i)-${name}"
    i=$((i + 1))
  done
done
echo "folder: $files files of the twelve types ($(du -sh "$dir" | cut -f1))"

# Per file: each program started once a file on the same 60 files of each type it serves.
ms_per_file() { # PROGRAM-AND-ARGS-PREFIX PATTERN
  local pattern=$1; shift
  local list=("$dir"/*"$pattern")
  list=("${list[@]:0:60}")
  local start end
  start=$(date +%s%N)
  for f in "${list[@]}"; do "$@" "$f" "$work/out.png" >/dev/null 2>&1 || true; done
  end=$(date +%s%N)
  echo "scale=2; ($end - $start) / 1000000 / ${#list[@]}" | bc
}
ours=$build/tools/lumavista-thumbnailer
[ -x "$ours" ] || ours=$build/lumavista-thumbnailer
for ext in bmp jpg gif ico tif; do
  a=$(ms_per_file ".$ext" "$ours" -s 128)
  if command -v gdk-pixbuf-thumbnailer >/dev/null; then
    b=$(ms_per_file ".$ext" gdk-pixbuf-thumbnailer -s 128)
    echo "$ext: lumavista-thumbnailer $a ms a file, gdk-pixbuf-thumbnailer $b ms: ratio $(echo "scale=2; $a / $b" | bc)"
  else
    echo "$ext: lumavista-thumbnailer $a ms a file (gdk-pixbuf-thumbnailer not installed)"
  fi
done
a=$(ms_per_file ".avi" "$ours" -s 128)
if command -v ffmpegthumbnailer >/dev/null; then
  start=$(date +%s%N); n=0
  for f in $(ls "$dir"/*.avi | head -60); do ffmpegthumbnailer -s 128 -i "$f" -o "$work/out.png" >/dev/null 2>&1 || true; n=$((n + 1)); done
  end=$(date +%s%N)
  b=$(echo "scale=2; ($end - $start) / 1000000 / $n" | bc)
  echo "avi: lumavista-thumbnailer $a ms a file, ffmpegthumbnailer $b ms: ratio $(echo "scale=2; $a / $b" | bc)"
else
  echo "avi: lumavista-thumbnailer $a ms a file (ffmpegthumbnailer not installed)"
fi
for ext in pcx wmf emf ani wav mid; do
  echo "$ext: lumavista-thumbnailer $(ms_per_file ".$ext" "$ours" -s 128) ms a file (no desktop thumbnailer serves it)"
done

# The window's style, on an empty cache, then warm.
export XDG_CACHE_HOME=$work/cache
/usr/bin/time -f "bench_thumbnails: %e s wall, %U s user, %S s system, %M KiB peak" \
  "$build/bench/bench_thumbnails" "$dir"
