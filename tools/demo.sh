#!/usr/bin/env bash
# Builds the solvers (in build-demo/, without the tests) and runs each on the shipped
# examples in build-demo/run/, one working directory per example set up as a user
# would: GPROP.DAT, ERROR.TXT and the input file. Then the Python module draws the
# README's two figures into build-demo/figures/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh base
cmake -S . -B build-demo -DCMAKE_BUILD_TYPE=Release -DSUITE_TESTS=OFF -DSUITE_PYTHON=ON >/dev/null
cmake --build build-demo -j"$(nproc)" --target zorvath braskot2 quellin _core >/dev/null
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

# The Python module draws the two figures of the README.
figures=$PWD/build-demo/figures
mkdir -p "$figures"
echo "=== figures from the Python module (combustion_suite)"
export PYTHONPATH=$PWD/build-demo/python
/usr/bin/python3 -m combustion_suite plot flame-temperature --fuel methane,propane,n-octane \
  --out "$figures/flame-temperature.png"
/usr/bin/python3 -m combustion_suite plot composition --fuel methane --phi 1 --P 101325 \
  --out "$figures/composition.png"
echo "Figures are in $figures: flame-temperature.png and composition.png"
