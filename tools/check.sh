#!/usr/bin/env bash
# Builds everything and runs every test: the native build, the web engine and page, the
# same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the Windows build
# under Wine, the packages, and the fuzz targets for a fixed time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh test
jobs=$(nproc)

echo "== native build and tests"
cmake --preset release -DSUITE_BENCH=ON -DSUITE_PYTHON=ON >/dev/null
cmake --build build -j"$jobs"
ctest --preset release -j"$jobs"

echo "== the web engine (node) and page (headless Chromium)"
bash tests/web/run-web-tests.sh

echo "== sanitizers (address, undefined behaviour)"
cmake --preset asan >/dev/null
cmake --build build-asan -j"$jobs"
ctest --preset asan -j"$jobs"

if [ -f tests/win/run-windows-tests.sh ]; then
  echo "== Windows build under Wine"
  bash tests/win/run-windows-tests.sh
fi

echo "== packages: built, then installed and run as a user would"
bash tools/package.sh
bash tests/packages/check-packages.sh
bash tests/packages/check-python-packages.sh

echo "== fuzzing (a minute per target)"
bash tests/fuzz/run-fuzz.sh 60
