#!/bin/sh
# Scan benchmark: makes the test trees (once) and runs bench_scan over each.
#   bench/scan/run.sh BUILD_DIR [WORK_DIR] [RUNS]
# WORK_DIR (default /tmp/lumavista-scan-bench) receives the regular trees tree1 (200,000 files in
# 20,000 folders) and tree5 (1,000,000 files), and the uneven trees uneven (600,000 files: deep and
# shallow branches, long accented names, media spread thin) and uneven1m (1,000,000 files). Each run
# prints the median of RUNS (default 5) scans and find runs with a warm cache, their ratio, what was
# found (to compare with TREE.expected) and the memory of the process.
set -eu
build=${1:?usage: run.sh BUILD_DIR [WORK_DIR] [RUNS]}
work=${2:-/tmp/lumavista-scan-bench}
runs=${3:-5}
here=$(dirname "$0")
mkdir -p "$work"
[ -d "$work/tree1" ] || python3 "$here/make_tree.py" "$work/tree1" --scale 1
[ -d "$work/tree5" ] || python3 "$here/make_tree.py" "$work/tree5" --scale 5
[ -d "$work/uneven" ] || python3 "$here/make_uneven_tree.py" "$work/uneven"
[ -d "$work/uneven1m" ] || python3 "$here/make_uneven_tree.py" "$work/uneven1m" --files 1000000
for t in tree1 tree5 uneven uneven1m; do
    echo "== $t (expected: $(tr '\n' ' ' < "$work/$t.expected"))"
    env -u TZ "$build/bench/bench_scan" "$work/$t" "$runs"
done
