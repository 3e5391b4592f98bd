#!/usr/bin/env bash
# Whole-process time of zorvath and braskot2 on the shipped methane examples, against
# the floor of a static hello-world program built the same way (bench/hello_floor),
# all started by hyperfine without a shell in one working directory.
#
#   bench/process.sh [build-dir] [runs]
#
# The build directory must have been configured with -DSUITE_BENCH=ON (default: build).
# Process start-up on a shared machine is noisy: many runs after a warm-up, and the
# ratios are given for the median and the minimum as well as the mean.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-1000}

for exe in tp/zorvath uv/braskot2 bench/hello_floor; do
  [ -x "$build/$exe" ] || { echo "missing $build/$exe: build with -DSUITE_BENCH=ON" >&2; exit 1; }
done
command -v hyperfine >/dev/null || { echo "hyperfine missing: tools/install-deps.sh test" >&2; exit 1; }

work=$(mktemp -d /tmp/suite-process-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp "$root/data/GPROP.DAT" "$work/GPROP.DAT"
cp "$root/data/examples/methane.tp" "$work/INPUT.TP"
cp "$root/data/examples/methane.uv" "$work/INPUT.UV"
cp "$build/tp/zorvath" "$build/uv/braskot2" "$build/bench/hello_floor" "$work/"
cd "$work"

# Both programs must run normally here, or the times mean nothing.
for exe in zorvath braskot2; do
  out=$("./$exe" 2>err.txt) || { echo "$exe failed" >&2; cat err.txt >&2; exit 1; }
  [ ! -s err.txt ] && [[ $out == *"Stop - Program terminated."* ]] || { echo "$exe did not stop normally" >&2; exit 1; }
done

hyperfine -N --warmup 100 --runs "$runs" --style basic --export-csv times.csv \
  ./hello_floor ./zorvath ./braskot2
echo

echo "nproc: $(nproc); load average: $(cut -d' ' -f1-3 /proc/loadavg); runs: $runs"
awk -F, '
  NR > 1 { name[NR] = $1; mean[$1] = $2; median[$1] = $4; min[$1] = $7 }
  END {
    f = "./hello_floor"
    printf "%-12s %10s %10s %10s %8s %8s %8s\n", "program", "mean ms", "median ms", "min ms", "mean x", "median x", "min x"
    for (i = 2; i <= NR; ++i) {
      c = name[i]
      printf "%-12s %10.3f %10.3f %10.3f %8.2f %8.2f %8.2f\n", substr(c, 3), mean[c] * 1000, median[c] * 1000, min[c] * 1000,
             mean[c] / mean[f], median[c] / median[f], min[c] / min[f]
    }
  }' times.csv
