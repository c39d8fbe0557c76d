#!/usr/bin/env bash
# Viewer benchmarks in the real main window, offscreen, drive C: mapped on a temporary folder whose
# folder names are accented and deep. Every figure is printed with its reference from the same run.
#   1. JPEG 4000x3000 select-to-painted at 1:1, 1:8 and in 8 bits vs djpeg (same options)
#   2. Next File through 500 small pictures of every type: median and worst step, memory
#   3. PCX and TIFF 4000x3000 select-to-painted vs the image view's own loadFromFile
#   4. WAV and MIDI select-to-first-sound; the interface thread's longest block during the first tune
#   5. AVI 640x480 25 fps MPEG-4 + PCM, 10 s: frames dropped, sync, CPU vs ffmpeg -re
#   6. 200 successive WAV/MIDI/AVI loads: memory, threads, open files
#   7. zoom steps on the 4000x3000 JPEG and a 10,000-record WMF; full-screen entry
# Usage: bench/viewers/run.sh [BUILD_DIR] [RUNS]   (default build-viewers, else build; RUNS 9)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-}
if [ -z "$build" ]; then
  for b in "$top/build-viewers" "$top/build"; do [ -d "$b" ] && build=$b && break; done
fi
build=$(cd "$build" && pwd)
runs=${2:-9}
cmake --build "$build" --target bench_viewers bench_media_play bench_pictures_make_metafile >/dev/null
bench=$build/bench/bench_viewers
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
# ImageMagick's own program, when a wrapper of the same name stands first on the path.
convert=convert
[ -x /usr/bin/convert ] && convert=/usr/bin/convert
# BENCH_VIEWERS_WORK keeps the inputs in that folder and makes them only once.
work=${BENCH_VIEWERS_WORK:-}
if [ -z "$work" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
mkdir -p "$work"
root=$work/c
q() { "$@" >/dev/null 2>&1; }
jpg="Photos/Vacances d'été 2003"
bigdir="Grandes images/Scannées à 300 dpi"
walkdir="Photothèque/Été 2003/Fête — Ñoño et Zoë/çà et là/Œuvres d'Ørsted/ünïcødé ß/日本語 フォルダ"
wavdir="Sons/Ondes sinusoïdales"
middir="Musique/Mélodies"
avidir="Vidéos/Clips"
soakdir="Mélange"
avi="clip 640x480.avi"
make_inputs() {
  echo "making inputs in $work ..."
  mkdir -p "$root/$jpg" "$root/$bigdir" "$root/$walkdir" "$root/$wavdir" "$root/$middir" "$root/$avidir" \
    "$root/$soakdir"

  $convert -size 4000x3000 -seed 7 plasma:fractal -depth 8 "$work/big.ppm"
  cjpeg -quality 90 -outfile "$root/$jpg/Été 4000x3000.jpg" "$work/big.ppm"
  $convert rose: "$root/$jpg/petit.bmp"
  $convert "$work/big.ppm" "$root/$bigdir/scan.pcx"
  $convert "$work/big.ppm" -compress None "$root/$bigdir/scan.tif"
  $convert "$work/big.ppm" -compress LZW "$root/$bigdir/scan-lzw.tif"
  $convert rose: "$root/$bigdir/petit.bmp"
  "$build/bench/bench_pictures_make_metafile" wmf "$root/$bigdir/plan 10000.wmf" 10000
  python3 "$top/bench/viewers/make_walk.py" "$root/$walkdir" "$build/bench/bench_pictures_make_metafile" 500 "$convert"

  # Sound files from two writers, in several shapes.
  q ffmpeg -nostdin -f lavfi -i "sine=frequency=440:duration=10:sample_rate=44100" -ac 2 -c:a pcm_s16le \
    "$root/$wavdir/La 440 stéréo.wav"
  sox -n -r 22050 -c 1 -b 8 -e unsigned-integer "$root/$wavdir/mono 8 bits 22 kHz.wav" synth 8 sine 330
  sox -n -r 48000 -c 2 -b 24 "$root/$wavdir/Ünïcødé 24 bits 48 kHz.wav" synth 8 sine 550 sine 660
  sox -n -r 8000 -c 1 -e a-law "$root/$wavdir/téléphone a-law.wav" synth 8 sine 440
  "$build/bench/bench_media_play" tune "$root/$middir/quatre pistes.mid" 10
  cat > "$work/tunes.abc" <<'ABC'
X:1
T:Valse des bancs
M:3/4
L:1/8
Q:1/4=150
K:G
V:1
%%MIDI program 40
|:G2 B2 d2|g4 f2|e2 c2 A2|F4 D2|G2 B2 d2|g3 a g2|f2 d2 F2|G6:|
V:2
%%MIDI program 32
|:G,6|G,6|C6|D6|G,6|G,6|D6|G,6:|

X:2
T:Ronde
M:4/4
L:1/8
Q:1/4=120
K:Dm
%%MIDI program 73
|:d2 f2 a2 f2|e2 g2 c'2 g2|f2 d2 A2 d2|^c2 e2 A4:|
%%MIDI drum dzdd 36 38 38 100 90 90
%%MIDI drumon

X:3
T:Choral
M:4/4
L:1/4
Q:1/4=90
K:C
%%MIDI program 19
[CEG] [DFA] [EGB] [CEc]|[FAc] [EGc] [DGB] [CEG]|[A,CE] [B,DF] [CEG]2|]
ABC
  (cd "$work" && q abc2midi tunes.abc)
  for n in 1 2 3; do mv "$work/tunes$n.mid" "$root/$middir/mélodie $n.mid"; done

  q ffmpeg -nostdin -f lavfi -i "testsrc=size=640x480:rate=25:duration=10" \
    -f lavfi -i "sine=frequency=440:duration=10:sample_rate=44100" -ac 2 -c:v mpeg4 -q:v 4 -c:a pcm_s16le \
    "$root/$avidir/$avi"

  cp "$root/$wavdir/La 440 stéréo.wav" "$root/$wavdir/mono 8 bits 22 kHz.wav" "$root/$soakdir/"
  cp "$root/$middir/quatre pistes.mid" "$root/$middir/mélodie 1.mid" "$root/$soakdir/"
  cp "$root/$avidir/$avi" "$root/$soakdir/"
  q ffmpeg -nostdin -f lavfi -i "testsrc2=size=320x240:rate=30:duration=4" \
    -f lavfi -i "sine=frequency=220:duration=4:sample_rate=22050" -c:v mpeg4 -c:a pcm_u8 \
    "$root/$soakdir/petit clip 320x240.avi"
  touch "$work/made"
}
[ -f "$work/made" ] || make_inputs
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 \
  "$root/$avidir/$avi")

echo
echo "== 1. bench_viewers jpeg"
"$bench" jpeg "$root" "$jpg" "Été 4000x3000.jpg" "$runs"
echo "   hyperfine cross-check of the references (same file through a plain name, which -N needs):"
ln -sf "$root/$jpg/Été 4000x3000.jpg" "$work/ref.jpg"
for o in "" "-scale 1/8" "-colors 236"; do
  hyperfine -N --warmup 2 --runs 10 --export-json "$work/h.json" "djpeg $o -outfile /dev/null $work/ref.jpg" \
    >/dev/null 2>&1 &&
    python3 - "$work/h.json" "${o:-(1:1)}" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
print(f"     djpeg {sys.argv[2]:12s} mean {r['mean'] * 1000:7.1f} ms, median {r['median'] * 1000:7.1f} ms")
PY
done
echo
echo "== 2. bench_viewers walk"
"$bench" walk "$root" "$walkdir"
echo
echo "== 3. bench_viewers big"
"$bench" big "$root" "$bigdir" "$runs" scan.pcx scan.tif scan-lzw.tif
echo
echo "== 4. bench_viewers wav / midi"
"$bench" wav "$root" "$wavdir" 20
"$bench" midi "$root" "$middir" 12
for font in /usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf2/FluidR3_GM.sf2; do
  [ -f "$font" ] && LUMAVISTA_SOUNDFONT=$font "$bench" midi "$root" "$middir" 12
done
echo
echo "== 5. bench_viewers avi ($frames frames in the file)"
"$bench" avi "$root" "$avidir" "$avi" "$frames"
echo "   whole processes under /usr/bin/time (ours includes the start of the window and its folder):"
/usr/bin/time -f "%U %S %e" -o "$work/t1" "$bench" avi "$root" "$avidir" "$avi" "$frames" --no-reference >/dev/null
/usr/bin/time -f "%U %S %e" -o "$work/t2" ffmpeg -nostdin -re -i "$root/$avidir/$avi" -f null - >/dev/null 2>&1
awk 'NR==FNR { a = 100 * ($1 + $2) / $3; next } { b = 100 * ($1 + $2) / $3 }
  END { printf "     bench_viewers avi %.1f %% of a core, ffmpeg -re %.1f %%, ratio %.2f\n", a, b, a / b }' \
  "$work/t1" "$work/t2"
echo
echo "== 6. bench_viewers soak"
"$bench" soak "$root" "$soakdir" 200
# Each kind alone, so that a growth can be laid at one page's door.
for ext in wav mid avi; do "$bench" soak "$root" "$soakdir" 100 $ext | sed -n '1,2p;4p'; done
echo
echo "== 7. bench_viewers zoom"
[ -f "$root/$bigdir/plan 10000.wmf" ] ||
  "$build/bench/bench_pictures_make_metafile" wmf "$root/$bigdir/plan 10000.wmf" 10000
cp "$root/$jpg/Été 4000x3000.jpg" "$root/$bigdir/Été 4000x3000.jpg"
"$bench" zoom "$root" "$bigdir" "Été 4000x3000.jpg" "plan 10000.wmf"
