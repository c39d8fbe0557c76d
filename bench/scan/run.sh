#!/bin/sh
# Scan benchmark: makes the two test trees (once) and runs bench_scan over each.
#   bench/scan/run.sh BUILD_DIR [WORK_DIR]
# WORK_DIR (default /tmp/lumavista-scan-bench) receives tree1 (200,000 files in 20,000 folders) and
# tree5 (five times as many). Each run prints the median of 5 scans and of 5 find runs with a warm
# cache, their ratio, what was found (to compare with TREE.expected) and the memory of the process.
# The first tree is also measured with TZ=:/etc/localtime: without TZ, glibc reads the time-zone
# file's status again for every local-time conversion. The scan asks for no times, so both runs
# should agree.
set -eu
build=${1:?usage: run.sh BUILD_DIR [WORK_DIR]}
work=${2:-/tmp/lumavista-scan-bench}
here=$(dirname "$0")
mkdir -p "$work"
[ -d "$work/tree1" ] || python3 "$here/make_tree.py" "$work/tree1" --scale 1
[ -d "$work/tree5" ] || python3 "$here/make_tree.py" "$work/tree5" --scale 5
for t in tree1 tree5; do
    echo "== $t (expected: $(tr '\n' ' ' < "$work/$t.expected"))"
    env -u TZ "$build/bench/bench_scan" "$work/$t" 5
done
echo "== tree1 with TZ=:/etc/localtime"
TZ=:/etc/localtime "$build/bench/bench_scan" "$work/tree1" 5
