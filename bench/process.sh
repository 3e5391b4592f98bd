#!/usr/bin/env bash
# Whole-process time of zorvath, braskot2 and quellin on the shipped methane examples,
# against the floor of a static hello-world program built the same way
# (bench/hello_floor), all started by hyperfine without a shell in one working directory.
# The two flame programs burn the same charge: quellin reads methane.uv as its INPUT.HP,
# and its time is also given as a ratio to braskot2's.
#
#   bench/process.sh [build-dir] [rounds] [runs-per-round]
#
# The build directory must have been configured with -DSUITE_BENCH=ON (default: build).
# On a shared machine the load drifts while hyperfine times one command after the other,
# so the comparison is made in rounds: each round times the three commands in turn, and
# the ratios are taken within a round, then their median over the rounds is reported.
# The working directory is made under ${TMPDIR:-/tmp}.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
rounds=${2:-10}
runs=${3:-100}

for exe in tp/zorvath uv/braskot2 hp/quellin bench/hello_floor; do
  [ -x "$build/$exe" ] || { echo "missing $build/$exe: build with -DSUITE_BENCH=ON" >&2; exit 1; }
done
command -v hyperfine >/dev/null || { echo "hyperfine missing: tools/install-deps.sh test" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/suite-process-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$root/data/GPROP.DAT" "$work/GPROP.DAT"
cp "$root/data/examples/methane.tp" "$work/INPUT.TP"
cp "$root/data/examples/methane.uv" "$work/INPUT.UV"
cp "$root/data/examples/methane.uv" "$work/INPUT.HP"
cp "$build/tp/zorvath" "$build/uv/braskot2" "$build/hp/quellin" "$build/bench/hello_floor" "$work/"
cd "$work"

# Both programs must run normally here, or the times mean nothing.
for exe in zorvath braskot2 quellin; do
  out=$("./$exe" 2>err.txt) || { echo "$exe failed" >&2; cat err.txt >&2; exit 1; }
  [ ! -s err.txt ] && [[ $out == *"Stop - Program terminated."* ]] || { echo "$exe did not stop normally" >&2; exit 1; }
done

hyperfine -N --warmup 100 --runs 20 --style none ./hello_floor ./zorvath ./braskot2 ./quellin >/dev/null 2>&1
for ((r = 1; r <= rounds; ++r)); do
  hyperfine -N --warmup 10 --runs "$runs" --style none --export-csv "round$r.csv" \
    ./hello_floor ./zorvath ./braskot2 ./quellin >/dev/null 2>&1
done

echo "nproc: $(nproc); load average: $(cut -d' ' -f1-3 /proc/loadavg); $rounds rounds of $runs runs per program"
# Columns of hyperfine's CSV: command, mean, stddev, median, user, system, min, max.
cat round*.csv | awk -F, '
  function median(list, n,   i, j, t, a) {
    split(list, a, " ")
    for (i = 2; i <= n; ++i) for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
  }
  $1 == "command" { ++round; next }
  {
    name = substr($1, 3)
    med[round, name] = $4; mn[round, name] = $7
    if (name != "hello_floor") seen[name] = 1
  }
  END {
    printf "%-12s %16s %13s %15s %12s\n", "program", "median ms", "x floor", "min ms", "x floor"
    for (round_ = 1; round_ <= round; ++round_) { fm = fm " " med[round_, "hello_floor"]; fn = fn " " mn[round_, "hello_floor"] }
    printf "%-12s %16.3f %13s %15.3f %12s\n", "hello_floor", median(fm, round) * 1000, "1.00", median(fn, round) * 1000, "1.00"
    for (name in seen) {
      pm = ""; pr = ""; qm = ""; qr = ""
      for (r = 1; r <= round; ++r) {
        pm = pm " " med[r, name]; pr = pr " " med[r, name] / med[r, "hello_floor"]
        qm = qm " " mn[r, name];  qr = qr " " mn[r, name] / mn[r, "hello_floor"]
      }
      printf "%-12s %16.3f %13.2f %15.3f %12.2f\n", name, median(pm, round) * 1000, median(pr, round), median(qm, round) * 1000, median(qr, round)
    }
    if (seen["quellin"] && seen["braskot2"]) {
      pr = ""; qr = ""
      for (r = 1; r <= round; ++r) {
        pr = pr " " med[r, "quellin"] / med[r, "braskot2"]; qr = qr " " mn[r, "quellin"] / mn[r, "braskot2"]
      }
      printf "%-12s %16s %13.2f %15s %12.2f\n", "quellin/braskot2", "", median(pr, round), "", median(qr, round)
    }
    print "(medians over the rounds: of the per-round median and fastest times, and of their ratios to the floor)"
  }'
