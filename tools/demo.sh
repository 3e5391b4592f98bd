#!/usr/bin/env bash
# Builds the solvers and runs each on the shipped examples in build/demo/, a working
# directory set up as a user would: the program, GPROP.DAT, ERROR.TXT and the input file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh base
cmake --preset release -DSUITE_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
run() {  # program input-file
  local prog=$1 input=$2 kind=${2##*.}
  local dir=build/demo/$(basename "$input")
  rm -rf "$dir" && mkdir -p "$dir"
  cp data/GPROP.DAT data/ERROR.TXT "$dir"/
  cp "$input" "$dir/INPUT.${kind^^}"
  echo "=== $(basename "$prog") on $input"
  (cd "$dir" && "$OLDPWD/$prog") || true
  echo "--- OUTPUT.${kind^^}"
  tr -d '\r' < "$dir/OUTPUT.${kind^^}"
  echo
}
shopt -s nullglob
for f in data/examples/*.tp; do run build/tp/zorvath "$f"; done
if [ -x build/uv/braskot2 ]; then
  for f in data/examples/*.uv; do run build/uv/braskot2 "$f"; done
fi
