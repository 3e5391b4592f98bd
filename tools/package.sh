#!/usr/bin/env bash
# Builds the packages a user installs, into build-pkg/: the Windows zip and installer
# (combustion-suite-<version>-win64.zip and .exe, from the windows preset) and the
# Debian package (combustion-suite_<version>_<arch>.deb, from the release preset). Each
# comes from a build of its own without the tests, so it holds only what installs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh package
jobs=$(nproc)

build() {  # preset directory [cmake options]
  cmake --preset "$1" -B "build-pkg/$2" -DSUITE_TESTS=OFF -DSUITE_BENCH=OFF "${@:3}" >/dev/null
  cmake --build "build-pkg/$2" -j"$jobs" >/dev/null
  (cd "build-pkg/$2" && cpack -B .. >/dev/null)
}
rm -f build-pkg/combustion-suite*
build windows windows
build release native -DSUITE_PYTHON=ON  # the Debian package carries the Python module
ls -1 build-pkg/combustion-suite*
