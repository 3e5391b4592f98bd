#!/bin/bash
# Runs two builds of the three programs on the same inputs and lists the reports that
# differ: every example of data/examples, every fuzz-corpus input of the programs (the
# zorvath and free-read inputs as INPUT.TP, the braskot2 inputs as INPUT.UV and
# INPUT.HP) and the methane example with every corpus property file as GPROP.DAT.
# The console output is compared with the report.
#   tools/compare-reports.sh OLD_BIN_DIR NEW_BIN_DIR
# Each directory holds zorvath, braskot2 and quellin. Prints one line per differing
# case and a count; the exit status is 1 when any differ.
set -u
old=$1 new=$2
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

same=0 differ=0
# run DIR PROGRAM INPUT_FILE INPUT_NAME [GPROP]
run() {
    mkdir -p "$1" && cd "$1" || exit 2
    cp "${5:-$root/data/GPROP.DAT}" GPROP.DAT
    cp "$3" "$4"
    timeout 20 "$2" > console.txt 2>&1 < /dev/null
    echo "exit $?" >> console.txt
    cd - > /dev/null || exit 2
}
# compare NAME PROGRAM INPUT_FILE INPUT_NAME OUTPUT_NAME [GPROP]
compare() {
    local a=$work/a b=$work/b
    rm -rf "$a" "$b"
    run "$a" "$old/$2" "$3" "$4" "${6:-}"
    run "$b" "$new/$2" "$3" "$4" "${6:-}"
    if cmp -s "$a/$5" "$b/$5" && cmp -s "$a/console.txt" "$b/console.txt"; then
        same=$((same + 1))
    else
        differ=$((differ + 1))
        echo "differs: $1"
    fi
}

for f in "$root"/data/examples/*.tp "$root"/tests/fuzz/corpus/zorvath/* "$root"/tests/fuzz/corpus/free_read/*; do
    compare "zorvath $(basename "$f")" zorvath "$f" INPUT.TP OUTPUT.TP
done
for f in "$root"/data/examples/*.uv "$root"/tests/fuzz/corpus/braskot2/*; do
    compare "braskot2 $(basename "$f")" braskot2 "$f" INPUT.UV OUTPUT.UV
done
for f in "$root"/data/examples/*.hp "$root"/tests/fuzz/corpus/braskot2/*; do
    compare "quellin $(basename "$f")" quellin "$f" INPUT.HP OUTPUT.HP
done
for g in "$root"/tests/fuzz/corpus/tables/*; do
    compare "zorvath methane.tp with GPROP $(basename "$g")" zorvath "$root/data/examples/methane.tp" INPUT.TP OUTPUT.TP "$g"
done
echo "$same identical, $differ differ"
[ "$differ" -eq 0 ]
