#!/usr/bin/env bash
# The Windows build and its tests under Wine, on a Debian 12 machine with mingw-w64,
# wine, wine64, xvfb, xdotool and imagemagick installed:
#   1. configure and build the "windows" preset (build-win/);
#   2. set up a Wine prefix in build-win/wineprefix and start Xvfb (no window manager);
#   3. ctest of the Windows build: the launcher's in-process tests under Wine;
#   4. the black-box test of orvello.exe (screenshots in build-win/artifacts/), and the
#      launcher in a deep, a Cyrillic, a Chinese and a two-spelling folder with the real zorvath;
#   5. the comparison of the Windows solvers with the native ones.
# Exits non-zero when any step fails.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
cd "$SUITE_ROOT"

START=$(date +%s)
RESULTS=()
FAILED=0
record() {  # record NAME STATUS
  if [ "$2" -eq 0 ]; then RESULTS+=("passed  $1"); else RESULTS+=("FAILED  $1"); FAILED=1; fi
}
cleanup() {
  wine_session_stop
  stop_display
}
trap cleanup EXIT

for tool in x86_64-w64-mingw32-g++-posix wine wineserver Xvfb xdotool import cmake; do
  command -v "$tool" >/dev/null || { echo "missing: $tool (install mingw-w64, g++-mingw-w64-x86-64, wine, wine64, xvfb, xdotool, imagemagick)"; exit 1; }
done

echo "== Windows build (preset windows, build-win/)"
cmake --preset windows >/dev/null || exit 1
cmake --build --preset windows -j"$(nproc)" || exit 1

echo "== Wine prefix and display"
start_display || exit 1
wine_prefix_ready
wine_session_start
echo "DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"

echo "== ctest of the Windows build under Wine"
ctest --test-dir "$WIN_BUILD" --output-on-failure --timeout 120
record "ctest (launcher in-process tests)" $?

echo "== black-box test of orvello.exe"
timeout 300 bash tests/win/blackbox.sh
record "black-box test of orvello.exe" $?
echo "== orvello.exe in deep, Cyrillic, Chinese and two-spelling folders"
timeout 300 bash tests/win/folders.sh
record "orvello.exe in deep, Cyrillic, Chinese and two-spelling folders" $?

echo "== Windows solvers against the native build"
timeout 600 bash tests/win/compare-solvers.sh
record "solver comparison" $?

echo "== summary ($(($(date +%s) - START)) s)"
printf '  %s\n' "${RESULTS[@]}"
exit $FAILED
