#!/usr/bin/env bash
# Builds the packages a user installs, into build-pkg/: the Windows zip and installer
# (combustion-suite-<version>-win64.zip and .exe, from the windows preset) and the
# Debian package (combustion-suite_<version>_<arch>.deb, from the release preset), and the
# web page (combustion-suite-<version>-web.zip, from the web preset: the page's folder
# for a host, with one-file.html, the same page in one file, for a local folder). Each
# comes from a build of its own without the tests, so it holds only what installs. And
# the Python package for pip: its source archive combustion-suite-<version>.tar.gz and a
# wheel for this machine's Python, through setup.py.
#
#   tools/package.sh [windows] [deb] [web] [python]    (none: all of them)
set -euo pipefail
cd "$(dirname "$0")/.."
kinds=("$@")
[ ${#kinds[@]} -eq 0 ] && kinds=(windows deb web python)
for kind in "${kinds[@]}"; do
  case $kind in
    windows | deb | web | python) ;;
    *) echo "usage: tools/package.sh [windows] [deb] [web] [python]" >&2; exit 2 ;;
  esac
done
wanted() { [[ " ${kinds[*]} " == *" $1 "* ]]; }
bash tools/install-deps.sh package
jobs=$(nproc)
version=$(sed -n 's/^project([^)]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
mkdir -p build-pkg

build() {  # preset directory [cmake options]
  cmake --preset "$1" -B "build-pkg/$2" -DSUITE_TESTS=OFF -DSUITE_BENCH=OFF "${@:3}" >/dev/null
  cmake --build "build-pkg/$2" -j"$jobs" >/dev/null
  (cd "build-pkg/$2" && cpack -B .. >/dev/null)
}
if wanted windows; then
  rm -f build-pkg/combustion-suite-*-win64.*
  build windows windows
fi
if wanted deb; then
  rm -f build-pkg/combustion-suite_*.deb
  build release native -DSUITE_PYTHON=ON  # the Debian package carries the Python module
fi

if wanted web; then
  web=combustion-suite-$version-web
  rm -f build-pkg/combustion-suite-*-web.zip
  cmake --preset web -B build-pkg/web >/dev/null
  cmake --build build-pkg/web -j"$jobs" --target web >/dev/null
  rm -rf "build-pkg/$web" && mkdir -p "build-pkg/$web"
  cp build-pkg/web/web/* "build-pkg/$web/"
  cp build-pkg/web/web-offline/index.html "build-pkg/$web/one-file.html"
  cp LICENSE "build-pkg/$web/"
  (cd build-pkg && cmake -E tar cf "$web.zip" --format=zip "$web" && rm -rf "$web")
fi

if wanted python; then
  # Offline, with Debian's setuptools, wheel and pybind11 (python3 -m build is not part of
  # Debian 12's Python): pip's wheel build, and the source archive from the same backend.
  rm -f build-pkg/combustion[-_]suite-*.whl build-pkg/combustion[-_]suite-[0-9]*.tar.gz
  /usr/bin/python3 -m pip wheel --no-build-isolation --no-index --no-deps --no-cache-dir -q -w build-pkg .
  /usr/bin/python3 -c 'from setuptools import build_meta; build_meta.build_sdist("build-pkg")' >/dev/null
fi
ls -1 build-pkg/combustion[-_]suite*
