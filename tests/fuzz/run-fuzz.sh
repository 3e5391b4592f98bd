#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/, replays the saved regression inputs,
# then fuzzes each target for a fixed time from the committed seed corpus, one target
# after the other. Fails on any crash, hang, sanitizer report or failed check.
#
#   tests/fuzz/run-fuzz.sh [seconds-per-target] [target...]
#
# Inputs that fail are kept in build-fuzz/artifacts/<target>/; the units a run adds to
# the corpus go to build-fuzz/corpus/<target>/ (emptied at the start of each run).
set -uo pipefail

FUZZ_DIR="$(cd "$(dirname "$0")" && pwd)"
ROOT="$(cd "$FUZZ_DIR/../.." && pwd)"
BUILD="$ROOT/build-fuzz"
SECONDS_PER_TARGET="${1:-60}"
shift || true
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(free_read field_read tables zorvath braskot2 quellin)

# The longest input worth trying: a whole GPROP.DAT for the table loader, a few
# screens of text for the others.
max_len() {
    case "$1" in
    tables) echo 20000 ;;
    *) echo 4096 ;;
    esac
}

# The seed corpus of a target: the flame programs read the same input files.
corpus_of() {
    case "$1" in
    quellin) echo braskot2 ;;
    *) echo "$1" ;;
    esac
}

# A small quarantine keeps the many short runs fast; use-after-free is still caught
# within a run.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=16"

cmake -S "$FUZZ_DIR" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 2
cmake --build "$BUILD" -j2 >/dev/null || { cmake --build "$BUILD" -j1; exit 2; }

failed=()
for t in "${TARGETS[@]}"; do
    bin="$BUILD/${t}_fuzz"
    [ -x "$bin" ] || { echo "no such target: $t"; exit 2; }
    artifacts="$BUILD/artifacts/$t"
    mkdir -p "$artifacts"

    # Every input that once found a fault must keep passing.
    regressions=("$FUZZ_DIR/regressions/$t"/*)
    if [ -e "${regressions[0]}" ]; then
        if ! "$bin" "${regressions[@]}" >"$artifacts/replay.log" 2>&1; then
            echo "$t: a regression input fails again (see $artifacts/replay.log)"
            failed+=("$t")
            continue
        fi
        echo "$t: ${#regressions[@]} regression inputs pass"
    fi

    work="$BUILD/corpus/$t"
    rm -rf "$work"
    mkdir -p "$work"
    log="$artifacts/fuzz.log"
    "$bin" "$work" "$FUZZ_DIR/corpus/$(corpus_of "$t")" \
        -max_total_time="$SECONDS_PER_TARGET" -timeout=10 -max_len="$(max_len "$t")" \
        -dict="$FUZZ_DIR/numbers.dict" -artifact_prefix="$artifacts/" -print_final_stats=1 >"$log" 2>&1
    status=$?
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    if [ $status -ne 0 ]; then
        echo "$t: FOUND A FAULT after ${execs:-?} executions (exit $status; see $log and $artifacts/)"
        grep -m3 -E 'ERROR|fuzz check failed|runtime error|Timeout|leak' "$log"
        failed+=("$t")
    else
        echo "$t: ${execs:-?} executions in ${SECONDS_PER_TARGET} s, no fault"
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing failed: ${failed[*]}"
    exit 1
fi
echo "fuzzing passed: ${TARGETS[*]}"
