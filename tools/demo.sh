#!/usr/bin/env bash
# Builds the solvers (in build-demo/, without the tests) and runs each on the shipped
# examples in build-demo/run/, one working directory per example set up as a user
# would: GPROP.DAT, ERROR.TXT and the input file.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh base
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF >/dev/null
cmake --build build-demo -j"$(nproc)" --target zorvath braskot2 quellin >/dev/null
run() {  # program input-file
  local prog=$1 input=$2 kind=${2##*.}
  local dir=build-demo/run/$(basename "$input")
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
for f in data/examples/*.tp; do run build-demo/tp/zorvath "$f"; done
for f in data/examples/*.uv; do run build-demo/uv/braskot2 "$f"; done
for f in data/examples/*.hp; do run build-demo/hp/quellin "$f"; done
