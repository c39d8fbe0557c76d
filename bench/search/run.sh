#!/bin/sh
# Search benchmark: find as you type over the catalogue of the uneven 1,000,000-file tree of the scan
# benchmark (built from its listing, without the files) and over one of 1,000,000 media files.
#   bench/search/run.sh BUILD_DIR [WORK_DIR]
set -eu
build=${1:?usage: run.sh BUILD_DIR [WORK_DIR]}
work=${2:-/tmp/lumavista-search-bench}
here=$(dirname "$0")
mkdir -p "$work"
[ -f "$work/uneven1m.list" ] ||
    python3 "$here/../scan/make_uneven_tree.py" "$work/uneven1m" --files 1000000 --list "$work/uneven1m.list"
export QT_QPA_PLATFORM=offscreen
for style in "" --report; do
    echo "== uneven 1,000,000-file tree ${style:-(default style)}"
    "$build/bench/bench_search" uneven "$work/uneven1m.list" "fichier 0.jpg" $style
    echo "== 1,000,000 media files ${style:-(default style)}"
    "$build/bench/bench_search" media 1000000 "vacances 12" $style
done
