#!/usr/bin/env bash
# Installs the Debian 12 packages a build needs, by level, each with those of the levels
# before it: "base" the solvers and the Python module; "package" the Windows cross build,
# the web build (emscripten) and what makes the packages and checks them as a user would
# (Wine, Xvfb, xdotool, lintian); "test" the test and benchmark libraries (pytest and
# hypothesis among them), the sanitizer runtimes and Chromium for the page's test. Skips
# apt-get when everything is already there.
set -euo pipefail
level=${1:-base}
pkgs=(cmake g++ make pybind11-dev python3-dev python3-numpy python3-matplotlib python3-tqdm
      python3-setuptools python3-wheel python3-pybind11)
if [ "$level" = package ] || [ "$level" = test ]; then
  pkgs+=(mingw-w64 g++-mingw-w64-x86-64 nsis dpkg-dev file lintian man-db
         wine wine64 xvfb xdotool imagemagick python3-venv python3-pip)
  # The web engine and page: emscripten (its tools run on node and find acorn in
  # node-acorn); node and npm only where node is missing, since a node installed
  # otherwise conflicts with Debian's nodejs.
  pkgs+=(emscripten node-acorn)
  command -v node >/dev/null || pkgs+=(nodejs npm)
fi
if [ "$level" = test ]; then
  pkgs+=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev hyperfine python3-pytest python3-hypothesis)
  # The web page's test in headless Chromium.
  pkgs+=(chromium)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
