#!/usr/bin/env bash
# lumavista-convert as a user runs it: outputs on standard output, one line on standard error per
# failure, exit status 0 / 1 / 2, no output replaced, the input's time kept, a folder rebuilt.
set -euo pipefail
tool=$1
data=$2
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Usage errors: status 2, nothing written.
for args in "" "--to" "--to gif $data/rose.bmp" "--width 0 $data/rose.bmp" "--width x $data/rose.bmp" \
            "--bogus $data/rose.bmp" "--out"; do
  set +e
  # shellcheck disable=SC2086
  (cd "$tmp" && "$tool" $args >/dev/null 2>"$tmp/err")
  status=$?
  set -e
  [ "$status" -eq 2 ] || fail "'$args' gave status $status"
  grep -q usage "$tmp/err" || fail "'$args' printed no usage"
done
[ -z "$(ls -A "$tmp" | grep -v '^err$')" ] || fail "a usage error wrote something"

# Everything converts: status 0, one output path a file, the input's modification time.
mkdir -p "$tmp/in/sub"
cp "$data/rose.bmp" "$tmp/in/nom.bmp"
cp "$data/rose.tif" "$tmp/in/sub/scan.tif"
cp "$data/rose.jpg" "$tmp/in/sub/photo.jpg"
echo text >"$tmp/in/sub/readme.txt"
touch -d '2001-02-03 04:05:06' "$tmp/in/nom.bmp"
out=$("$tool" "$tmp/in/nom.bmp") || fail "a good file gave a non-zero status"
[ "$out" = "$tmp/in/nom.png" ] || fail "output named '$out'"
[ "$(stat -c %Y "$tmp/in/nom.png")" = "$(stat -c %Y "$tmp/in/nom.bmp")" ] || fail "modification time not kept"
file "$tmp/in/nom.png" | grep -q 'PNG image data, 70 x 46' || fail "not the picture as PNG"

# Again: the first output stays as it was and a numbered one appears.
sum=$(md5sum <"$tmp/in/nom.png")
out=$("$tool" --to=png "$tmp/in/nom.bmp") || fail "second run failed"
[ "$out" = "$tmp/in/nom (2).png" ] || fail "second output named '$out'"
[ "$(md5sum <"$tmp/in/nom.png")" = "$sum" ] || fail "an existing output was replaced"

# A folder under --out: its tree rebuilt, other files left alone.
"$tool" --to webp --out "$tmp/out" "$tmp/in/sub" >/dev/null || fail "folder conversion failed"
[ "$(cd "$tmp/out" && find . -type f | sort | tr '\n' ' ')" = "./photo.webp ./scan.webp " ] ||
  fail "folder outputs: $(cd "$tmp/out" && find . | tr '\n' ' ')"
file "$tmp/out/scan.webp" | grep -q 'Web/P' || fail "not a WebP"

# A sound takes its own default, FLAC, in the same run as pictures.
sox -n -r 22050 -b 16 -c 1 "$tmp/in/sub/bip.wav" synth 0.5 sine 880
"$tool" --out "$tmp/sounds" "$tmp/in/sub" >/dev/null || fail "sound conversion failed"
file "$tmp/sounds/bip.flac" | grep -q 'FLAC audio' || fail "the sound is not FLAC: $(ls "$tmp/sounds")"
[ -f "$tmp/sounds/scan.png" ] || fail "the pictures of a mixed folder were not converted"

# Many files at once (they run on every core): names that meet get numbers, none is lost.
mkdir -p "$tmp/many"
for i in $(seq 1 12); do
  cp "$data/rose.bmp" "$tmp/many/n$i.bmp"
  cp "$data/rose.pcx" "$tmp/many/n$i.pcx"
  cp "$data/rose.tif" "$tmp/many/n$i.tif"
done
"$tool" --out "$tmp/many-out" "$tmp/many" >"$tmp/many.txt" || fail "many files failed"
[ "$(wc -l <"$tmp/many.txt")" -eq 36 ] || fail "not one output line a file: $(wc -l <"$tmp/many.txt")"
[ "$(find "$tmp/many-out" -name '*.png' | wc -l)" -eq 36 ] || fail "outputs lost: $(ls "$tmp/many-out")"
[ -f "$tmp/many-out/n7 (3).png" ] || fail "three inputs named n7 did not give n7 (3).png"
[ -z "$(find "$tmp/many-out" -name '.*')" ] || fail "a temporary file was left"

# Some fail: status 1, one line on standard error for each, the others still converted.
set +e
out=$("$tool" --out "$tmp/mixed" "$data/damaged-truncated.pcx" "$data/rose.pcx" "$tmp/missing.bmp" \
      "$tmp/in/sub/readme.txt" "$data/damaged-ifd.tif" 2>"$tmp/err")
status=$?
set -e
[ "$status" -eq 1 ] || fail "failures gave status $status"
[ "$(wc -l <"$tmp/err")" -eq 4 ] || fail "not one line per failure: $(cat "$tmp/err")"
for name in damaged-truncated.pcx missing.bmp readme.txt damaged-ifd.tif; do
  grep -q "$name" "$tmp/err" || fail "no failure line for $name"
done
[ "$out" = "$tmp/mixed/rose.png" ] || fail "the good file of a mixed run: '$out'"
[ "$(ls -A "$tmp/mixed")" = "rose.png" ] || fail "a failure left something: $(ls -A "$tmp/mixed")"

# An unwritable destination stops the run with a message.
echo x >"$tmp/blocked"
set +e
"$tool" --out "$tmp/blocked/dir" "$data/rose.bmp" "$data/rose.pcx" >/dev/null 2>"$tmp/err"
status=$?
set -e
[ "$status" -eq 1 ] || fail "unwritable destination gave status $status"
[ "$(grep -c stopped "$tmp/err")" -eq 1 ] || fail "not one stop message: $(cat "$tmp/err")"
[ ! -e "$tmp/blocked/dir" ] || fail "something was made under a file"
echo "command line: ok"
