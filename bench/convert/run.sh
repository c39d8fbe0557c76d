#!/usr/bin/env bash
# lumavista-convert against the reference tools with the same settings, in the same run:
#   WAV -> FLAC  against `flac -5` (FFmpeg's FLAC encoder defaults to level 5 too);
#   AVI -> MP4   against `ffmpeg -c:v libx264 -crf 20 -preset medium -c:a aac -b:a 192k`;
#   a folder of 500 mixed small files: total time, and CPU time over wall time (cores used).
# Usage: bench/convert/run.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../../build}" && pwd)
runs=${2:-5}
tool=$build/tools/lumavista-convert
data=$(cd "$(dirname "$0")/../../tests/data/pictures" && pwd)
export QT_QPA_PLATFORM=offscreen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sox -n -r 44100 -b 16 -c 2 "$tmp/long.wav" synth 120 sine 200-2000 sine 330 vol 0.6
ffmpeg -v error -f lavfi -i testsrc=size=320x240:rate=15 -f lavfi -i sine=f=440:sample_rate=44100 -t 20 \
  -c:v msvideo1 -c:a pcm_s16le -ac 2 "$tmp/clip.avi"

median() { # runs a command $runs times after one warm-up; prints the median wall time in seconds
  local times=()
  "$@" >/dev/null 2>&1
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    times+=("$(echo "$end - $start" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}
fresh() { rm -rf "$tmp/out" && mkdir "$tmp/out"; }
ours_flac() { fresh; "$tool" --out "$tmp/out" "$tmp/long.wav"; }
ref_flac() { fresh; flac -5 -s -f -o "$tmp/out/long.flac" "$tmp/long.wav"; }
ours_mp4() { fresh; "$tool" --out "$tmp/out" "$tmp/clip.avi"; }
ref_mp4() {
  fresh
  ffmpeg -v error -i "$tmp/clip.avi" -c:v libx264 -crf 20 -preset medium -c:a aac -b:a 192k "$tmp/out/clip.mp4"
}

report() { # name ours reference
  printf '%-14s ours %6.3f s   reference %6.3f s   ratio %.2f\n' "$1" "$2" "$3" "$(echo "$2 / $3" | bc -l)"
}
a=$(median ours_flac); b=$(median ref_flac); report "WAV -> FLAC" "$a" "$b"
a=$(median ours_mp4); b=$(median ref_mp4); report "AVI -> MP4" "$a" "$b"

# 500 mixed files: pictures, drawings-free fixtures, short sounds and a tune, in 10 folders.
mkdir -p "$tmp/mixed"
printf 'X:1\nT:t\nM:4/4\nL:1/4\nQ:1/4=120\nK:C\nCDEF|GABc|\n' >"$tmp/t.abc"
abc2midi "$tmp/t.abc" -o "$tmp/t.mid" >/dev/null
sox -n -r 22050 -b 16 -c 1 "$tmp/s.wav" synth 1 sine 440
ffmpeg -v error -f lavfi -i testsrc=size=64x48:rate=10 -t 1 -c:v msvideo1 "$tmp/v.avi"
sources=("$data/rose.bmp" "$data/rose.jpg" "$data/rose.pcx" "$data/rose.tif" "$data/rose.gif" "$data/anim.gif"
         "$data/rose.ico" "$data/cursor.ani" "$tmp/s.wav" "$tmp/t.mid" "$tmp/v.avi")
for i in $(seq 0 499); do
  src=${sources[$((i % ${#sources[@]}))]}
  dir="$tmp/mixed/d$((i % 10))"
  mkdir -p "$dir"
  cp "$src" "$dir/f$i.${src##*.}"
done
rm -rf "$tmp/out"
/usr/bin/time -f '%e %U %S' -o "$tmp/time" "$tool" --out "$tmp/out" "$tmp/mixed" >/dev/null
read -r wall user sys <"$tmp/time"
count=$(find "$tmp/out" -type f | wc -l)
printf '500 mixed      %d outputs in %.2f s, CPU %.2f s: %.2f cores busy on average\n' "$count" "$wall" \
  "$(echo "$user + $sys" | bc -l)" "$(echo "($user + $sys) / $wall" | bc -l)"
# The same folder held to one core, in the same run: how much the pool gains from the second one
# (on a machine shared with other work, CPU over wall time above undercounts the cores we could have).
if command -v taskset >/dev/null && [ "$(nproc)" -gt 1 ]; then
  rm -rf "$tmp/out"
  /usr/bin/time -f '%e' -o "$tmp/time1" taskset -c 0 "$tool" --out "$tmp/out" "$tmp/mixed" >/dev/null
  read -r one <"$tmp/time1"
  printf '500 mixed      one core %.2f s, all cores %.2f s: %.2f x faster\n' "$one" "$wall" "$(echo "$one / $wall" | bc -l)"
fi
