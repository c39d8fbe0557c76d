#!/bin/sh
# Usage: bench/lists/run.sh BUILD_DIR
# Makes a folder of 10,000 media files, then prints FillFileList against `ls -l` of the same folder
# (median of 5 warm runs each, same process) and the 100,000-item memory and scrolling figures.
set -eu
build=${1:?usage: run.sh BUILD_DIR}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/c"
i=0
for ext in bmp jpg gif wav mid; do
    n=0
    while [ $n -lt 2000 ]; do
        printf 'x' > "$work/c/file_$(printf %05d $i).$ext"
        n=$((n + 1)); i=$((i + 1))
    done
done
export QT_QPA_PLATFORM=offscreen
"$build/bench/bench_lists" fill "$work/c" 5
hyperfine --warmup 2 --runs 10 -N "ls -l $work/c" 2>/dev/null | grep -E 'Time|Range' | sed 's/^/hyperfine ls -l: /' || true
"$build/bench/bench_lists" scroll 100000
