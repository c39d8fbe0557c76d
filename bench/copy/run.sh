#!/usr/bin/env bash
# Copy benchmark: the copy engine (bench_copy) against cp on one 1 GiB file, in the same run.
#   bench/copy/run.sh BUILD_DIR [WORK_DIR] [RUNS]
# WORK_DIR (default: a new folder under /var/tmp, on a disk rather than in RAM) receives the source,
# made from /dev/urandom, and the copies. The two programs take turns, RUNS times each (default 15),
# starting in alternate order, so a machine that gets busier or quieter weighs on both alike; before
# each copy the target is removed (or put back, for the existing-target case) and everything is
# synced, so no copy pays for the previous one's writeback. Prints the median and the best time of
# each, and the ratio of the medians (goal: engine <= 1.15 x cp).
set -euo pipefail
build=$(cd "${1:?usage: run.sh BUILD_DIR [WORK_DIR] [RUNS]}" && pwd)
runs=${3:-15}
engine="$build/bench/bench_copy"
[ -x "$engine" ] || { echo "build bench_copy first (cmake --build $build --target bench_copy)" >&2; exit 2; }
if [ -n "${2:-}" ]; then
  work=$2
  mkdir -p "$work"
else
  work=$(mktemp -d /var/tmp/lumavista-copy-bench.XXXXXX)
  trap 'rm -rf "$work"' EXIT
fi
cd "$work"
[ -f source.bin ] && [ "$(stat -c %s source.bin)" -eq 1073741824 ] ||
  dd if=/dev/urandom of=source.bin bs=1M count=1024 status=none
echo "file system: $(stat -f -c %T .); source: 1 GiB in $work; $runs runs each; load: $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$engine" "$runs" <<'PY'
import os, shutil, statistics, subprocess, sys, time

engine, runs = sys.argv[1], int(sys.argv[2])
commands = {"engine": [engine, "source.bin", "target.bin"], "cp": ["cp", "source.bin", "target.bin"]}

def measure(case, existing):
    times = {name: [] for name in commands}
    for i in range(runs + 1):  # the first round warms up and is not counted
        for name in (("engine", "cp") if i % 2 == 0 else ("cp", "engine")):
            if os.path.exists("target.bin"):
                os.remove("target.bin")
            if existing:
                shutil.copyfile("source.bin", "target.bin")
            os.sync()
            start = time.perf_counter()
            subprocess.run(commands[name], check=True)
            if i > 0:
                times[name].append(time.perf_counter() - start)
    e, c = times["engine"], times["cp"]
    print(f"{case:16s} engine median {statistics.median(e)*1000:7.1f} ms (best {min(e)*1000:6.1f})"
          f"   cp median {statistics.median(c)*1000:7.1f} ms (best {min(c)*1000:6.1f})"
          f"   ratio {statistics.median(e)/statistics.median(c):.3f}")

measure("new target", False)
measure("existing target", True)
PY
cmp source.bin target.bin && echo "last copy identical to its source"
