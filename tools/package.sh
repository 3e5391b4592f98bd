#!/usr/bin/env bash
# Builds the packages a user installs, into build-pkg/: the Windows zip and installer
# (combustion-suite-<version>-win64.zip and .exe, from the windows preset) and the
# Debian package (combustion-suite_<version>_<arch>.deb, from the release preset), and the
# web page (combustion-suite-<version>-web.zip, from the web preset: the page's folder
# for a host, with one-file.html, the same page in one file, for a local folder). Each
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

version=$(sed -n 's/^project([^)]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
web=combustion-suite-$version-web
cmake --preset web -B build-pkg/web >/dev/null
cmake --build build-pkg/web -j"$jobs" --target web >/dev/null
rm -rf "build-pkg/$web" && mkdir -p "build-pkg/$web"
cp build-pkg/web/web/* "build-pkg/$web/"
cp build-pkg/web/web-offline/index.html "build-pkg/$web/one-file.html"
cp LICENSE "build-pkg/$web/"
(cd build-pkg && cmake -E tar cf "$web.zip" --format=zip "$web" && rm -rf "$web")
ls -1 build-pkg/combustion-suite*
