#!/usr/bin/env bash
# lumavista-info over the picture fixtures: one JSON line a file, ok for the good ones, false
# with a message for the damaged ones, exit status 1 when any failed, 0 when all loaded.
set -euo pipefail
info=$1
data=$2
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*" >&2; exit 1; }

good=(rose.bmp rose-mono.bmp rose.ico rose.gif anim.gif rose.jpg rose.pcx rose-mono.pcx rose.tif cursor.ani)
out=$("$info" "${good[@]/#/$data/}" 2>/dev/null) || fail "good files gave a non-zero status"
[ "$(grep -c '"ok":true' <<<"$out")" -eq "${#good[@]}" ] || fail "not every good file loaded: $out"
grep -q '"file":"[^"]*rose-mono.bmp".*"monochrome":true' <<<"$(grep rose-mono.bmp <<<"$out")" || fail "mono bitmap"
grep anim.gif <<<"$out" | grep -q '"animated":true' || fail "animated GIF"
grep anim.gif <<<"$out" | grep -q '"frames":4' || fail "GIF frames"
grep anim.gif <<<"$out" | grep -q '"speed":100' || fail "GIF speed"

bad=(damaged-truncated.bmp damaged-garbage.ico damaged-truncated.gif damaged-header.jpg damaged-truncated.pcx
     damaged-ifd.tif)
set +e
out=$("$info" "$data/rose.bmp" "${bad[@]/#/$data/}" 2>/dev/null)
status=$?
set -e
[ "$status" -eq 1 ] || fail "damaged files gave status $status"
[ "$(grep -c '"ok":false' <<<"$out")" -eq "${#bad[@]}" ] || fail "damaged files not refused: $out"
[ "$(grep -c '"error":"' <<<"$out")" -eq "${#bad[@]}" ] || fail "damaged files without a message"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$info" "$data/rose.jpg" --jpeg-scale 1 --render "$tmp/half.png" 2>/dev/null | grep -q '"width":35[,}]' || fail "JPEG scale"
[ -s "$tmp/half.png" ] || fail "no rendered picture"
echo "lumavista-info pictures: ok"
