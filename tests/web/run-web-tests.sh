#!/usr/bin/env bash
# Builds the web engine and page (preset web) and runs their tests: the engine through
# node against the native programs of build/ (built first by the test command), then the
# page in headless Chromium. Installs nothing: tools/install-deps.sh test brings
# emscripten and chromium, and `npm ci` in web/ (run by the build) uPlot and
# puppeteer-core as web/package-lock.json pins them.
set -euo pipefail
cd "$(dirname "$0")/../.."
for p in zorvath braskot2 quellin; do
  [ -x "build/$(case $p in zorvath) echo tp;; braskot2) echo uv;; quellin) echo hp;; esac)/$p" ] ||
    { echo "run-web-tests: the native programs are not built in build/ (cmake --preset release && cmake --build build)" >&2; exit 1; }
done
cmake --preset web >/dev/null
cmake --build --preset web -j"$(nproc)" >/dev/null
export PUPPETEER_SKIP_DOWNLOAD=1
node --test tests/web/engine.test.mjs
if [ -f tests/web/page.test.mjs ]; then
  node --test tests/web/page.test.mjs
fi
