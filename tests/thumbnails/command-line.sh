#!/usr/bin/env bash
# lumavista-thumbnailer as a file manager runs it: status 0 and a PNG within the size for a good
# file (path or URI); status 1 and no file for a damaged or missing one; 2 and no file for a wrong
# command line; never a hang (each run is bounded here too).
set -euo pipefail
tool=$1
data=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
run() { timeout 60 "$tool" "$@"; }
size_of() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(*struct.unpack(">II", d[16:24]))' "$1"; }

# Usage errors.
for args in "" "-s" "-s 128" "-s 128 $data/pictures/rose.pcx" "-s x $data/pictures/rose.pcx $tmp/u.png" \
            "-s 0 $data/pictures/rose.pcx $tmp/u.png" "--bogus $data/pictures/rose.pcx $tmp/u.png"; do
  set +e
  # shellcheck disable=SC2086
  run $args >/dev/null 2>"$tmp/err"
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "'$args' gave status $status"
  grep -q usage "$tmp/err" || fail "'$args' printed no usage"
done
[ ! -e "$tmp/u.png" ] || fail "a usage error wrote a file"

# Good files of the types the desktop's own thumbnailers do not serve, by path and by URI.
cp "$data/pictures/rose.pcx" "$tmp/une rose #1.pcx"
run -s 128 "$tmp/une rose #1.pcx" "$tmp/pcx.png" || fail "PCX by path"
[ "$(size_of "$tmp/pcx.png")" = "70 46" ] || fail "PCX thumbnail is $(size_of "$tmp/pcx.png")"
uri=$(python3 -c 'import pathlib,sys; print(pathlib.Path(sys.argv[1]).as_uri())' "$tmp/une rose #1.pcx")
run -s 32 "$uri" "$tmp/pcx32.png" || fail "PCX by URI"
[ "$(size_of "$tmp/pcx32.png")" = "32 21" ] || fail "32-pixel PCX thumbnail is $(size_of "$tmp/pcx32.png")"
run -s 256 "$data/pictures/cursor.ani" "$tmp/ani.png" || fail "ANI"
run -s 128 "$data/media/c4_one_beat.mid" "$tmp/mid.png" || fail "MIDI"
[ "$(size_of "$tmp/mid.png")" = "128 96" ] || fail "MIDI thumbnail is $(size_of "$tmp/mid.png")"
run -s 128 "$data/media/sine440_250ms_ima.wav" "$tmp/wav.png" || fail "WAV"
[ "$(size_of "$tmp/wav.png")" = "128 96" ] || fail "WAV thumbnail is $(size_of "$tmp/wav.png")"
for f in "$tmp"/pcx.png "$tmp"/ani.png "$tmp"/mid.png "$tmp"/wav.png; do
  file "$f" | grep -q 'PNG image data.*8-bit/color RGBA' || fail "$f is not an 8-bit RGBA PNG"
done

# Damaged or missing: status 1, nothing written.
for bad in "$data/pictures/damaged-truncated.pcx" "$data/pictures/damaged-truncated.gif" "$tmp/missing.wav"; do
  set +e
  run -s 128 "$bad" "$tmp/bad.png" 2>/dev/null
  status=$?
  set -e
  [ "$status" -eq 1 ] || fail "$bad gave status $status"
  [ ! -e "$tmp/bad.png" ] || fail "$bad wrote a file"
done
head -c 5000 /dev/urandom >"$tmp/noise.wmf"
set +e
run -s 128 "$tmp/noise.wmf" "$tmp/bad.png" 2>/dev/null
status=$?
set -e
[ "$status" -eq 1 ] || fail "noise gave status $status"
[ ! -e "$tmp/bad.png" ] || fail "noise wrote a file"
echo "thumbnailer: all checks passed"
