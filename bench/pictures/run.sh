#!/usr/bin/env bash
# Picture benchmarks, each against its reference measured in the same run with hyperfine:
#   JPEG 12 megapixels: TJPEGImage vs djpeg with the same options (1:1 24-bit, 1:8, 8-bit fast)
#   PCX 4000 x 3000 24-bit: our decoder vs ImageMagick's convert to raw RGB
#   WMF of 10,000 records: our player vs ImageMagick (libwmf) rasterising it
# Usage: bench/pictures/run.sh [BUILD_DIR]   (default build-pictures, then build)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-}
if [ -z "$build" ]; then
  for b in "$top/build-pictures" "$top/build"; do [ -x "$b/bench/bench_pictures_decode" ] && build=$b && break; done
fi
build=$(cd "$build" && pwd)
decode="$build/bench/bench_pictures_decode"
make_metafile="$build/bench/bench_pictures_make_metafile"
[ -x "$decode" ] || { echo "build bench_pictures_decode first (cmake --build BUILD --target bench_pictures_decode bench_pictures_make_metafile)" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export QT_QPA_PLATFORM=offscreen

echo "making inputs in $work ..."
convert -size 4000x3000 -seed 7 plasma:fractal -depth 8 big.ppm
cjpeg -quality 90 -outfile big.jpg big.ppm
convert rose: ppm:- | cjpeg -quality 90 -outfile small.jpg
convert big.ppm big.pcx
"$make_metafile" wmf big.wmf 10000

run() { # NAME OURS REFERENCE [RUNS]
  hyperfine -N --warmup 2 --runs "${4:-20}" --export-json "$1.json" -n ours "$2" -n reference "$3" >/dev/null 2>&1
  python3 - "$1" <<'PY'
import json, sys
name = sys.argv[1]
r = {x["command"]: x["mean"] for x in json.load(open(name + ".json"))["results"]}
print(f"{name:28s} ours {r['ours']*1000:9.1f} ms   reference {r['reference']*1000:9.1f} ms   ratio {r['ours']/r['reference']:.3f}")
PY
}

# JPEG: the same options both sides. Each program is also timed on a 70 x 46 picture, so its
# start-up (for us, loading Qt: several milliseconds) can be taken out of the decoding time.
# Wall time and processor time (user + system) are both shown: on a busy machine the second
# is the steadier measure.
jpeg() { # NAME OUR_OPTIONS DJPEG_OPTIONS
  hyperfine -N --warmup 2 --runs 20 --export-json "$1.json" \
    -n ours "$decode jpeg big.jpg $2" -n reference "djpeg $3 -outfile /dev/null big.jpg" \
    -n ours-start "$decode jpeg small.jpg $2" -n reference-start "djpeg $3 -outfile /dev/null small.jpg" \
    >/dev/null 2>&1
  python3 - "$1" <<'PY'
import json, sys
name = sys.argv[1]
res = {x["command"]: x for x in json.load(open(name + ".json"))["results"]}
wall = {k: v["mean"] * 1000 for k, v in res.items()}
cpu = {k: (v["user"] + v["system"]) * 1000 for k, v in res.items()}
def alone(t):
    return (t["ours"] - t["ours-start"]) / (t["reference"] - t["reference-start"])
print(f"{name:16s} wall: ours {wall['ours']:6.1f} ms, djpeg {wall['reference']:6.1f} ms, ratio {wall['ours'] / wall['reference']:.3f}, "
      f"decoding alone {alone(wall):.3f} | cpu: ours {cpu['ours']:6.1f} ms, djpeg {cpu['reference']:6.1f} ms, "
      f"ratio {cpu['ours'] / cpu['reference']:.3f}, decoding alone {alone(cpu):.3f} "
      f"(start-up cpu {cpu['ours-start']:.1f} / {cpu['reference-start']:.1f} ms)")
PY
}
jpeg jpeg-1:1-24bit "" ""
jpeg jpeg-1:8 "--scale 3" "-scale 1/8"
jpeg jpeg-8bit-fast "--8bit --fast" "-colors 236 -dct fast -onepass -dither ordered"
run pcx-4000x3000-24bit "$decode pcx big.pcx" "convert big.pcx -depth 8 rgb:/dev/null"
run wmf-10000-records "$decode wmf big.wmf" "convert -density 96 big.wmf -depth 8 rgb:/dev/null" 3
echo "limits: jpeg ratios <= 1.15; pcx ratio <= 0.5; wmf ratio < 0.1"
