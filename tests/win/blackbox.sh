#!/usr/bin/env bash
# Black-box test of the launcher: orvello.exe, conspawn.exe and the real zorvath.exe in
# a scratch folder under Wine, driven with xdotool as a user would: open "ZORVATH
# Parameters...", Save, Save & Run, dismiss the success message, File, Exit. Leaves
# screenshots in build-win/artifacts/. Needs the Windows build, the prefix and a display
# (run-windows-tests.sh provides them).
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"

WORK=$WIN_BUILD/blackbox
FRAME_TITLE="Access to ZORVATH, QUELLIN and BRASKOT Software"
# Where the editor's buttons are, relative to the frame: the first MDI child opens at the
# top left of the MDI area, and its button bar follows from the fixed fonts of the prefix.
SAVE_AT=(35 71)
SAVE_RUN_AT=(106 71)

ORVELLO_PID=
finish() {
  if [ -n "$ORVELLO_PID" ] && kill -0 "$ORVELLO_PID" 2>/dev/null; then
    kill "$ORVELLO_PID" 2>/dev/null
    wait "$ORVELLO_PID" 2>/dev/null
  fi
}
trap finish EXIT

shot() { import -window root "$ARTIFACTS/$1.png" 2>/dev/null; }
fail() {
  echo "FAIL: $*"
  shot launcher-blackbox-failure
  echo "      screenshot: $ARTIFACTS/launcher-blackbox-failure.png"
  exit 1
}
click_at() {
  local frame=$1 x=$2 y=$3
  xdotool mousemove --window "$frame" "$x" "$y" click 1
  sleep 0.5
}
focus_frame() {
  xdotool windowfocus "$1" 2>/dev/null
  sleep 0.3
}

rm -rf "$WORK"
mkdir -p "$WORK" "$ARTIFACTS"
rm -f "$ARTIFACTS"/launcher-blackbox*.png
for exe in launcher/orvello.exe tools/conspawn/conspawn.exe tp/zorvath.exe; do
  [ -f "$WIN_BUILD/$exe" ] || fail "$exe has not been built"
  cp "$WIN_BUILD/$exe" "$WORK/"
done
HAVE_TABLES=no
if [ -f "$SUITE_ROOT/data/GPROP.DAT" ]; then
  cp "$SUITE_ROOT/data/GPROP.DAT" "$WORK/"
  [ -f "$SUITE_ROOT/data/ERROR.TXT" ] && cp "$SUITE_ROOT/data/ERROR.TXT" "$WORK/"
  HAVE_TABLES=yes
fi
# Written in upper case as the solver names it; the launcher opens "input.tp".
INPUT=$'Methane in air, stoichiometric, 2200 K and 1 atm\r\n1.0        carbon atoms\r\n4.0        hydrogen atoms\r\n0.0        oxygen atoms\r\n0.0        nitrogen atoms\r\n1.0        equivalence ratio\r\n2200.0     temperature (K)\r\n101325.0   pressure (Pa)\r\n'
printf '%s' "$INPUT" >"$WORK/INPUT.TP"

(cd "$WORK" && exec wine orvello.exe </dev/null >"$WORK/orvello.out" 2>&1) &
ORVELLO_PID=$!

frame=$(wait_window "$FRAME_TITLE" 60) || fail "the frame did not appear"
echo "frame window up"
focus_frame "$frame"
xdotool key alt+f
sleep 0.5
xdotool key Down Down Return  # the third item: ZORVATH Parameters...
sleep 1

# Save adds the zero byte after the text: proof that the editor holds input.tp.
click_at "$frame" "${SAVE_AT[@]}"
expected_saved=$(printf '%s\0' "$INPUT" | od -An -c)
for _ in $(seq 50); do
  [ "$(od -An -c "$WORK/INPUT.TP")" = "$expected_saved" ] && break
  sleep 0.1
done
[ "$(od -An -c "$WORK/INPUT.TP")" = "$expected_saved" ] ||
  fail "Save did not write the editor's text followed by one zero byte"
echo "editor opened on input.tp and saved it"

if [ "$HAVE_TABLES" = yes ]; then
  rm -f "$WORK/OUTPUT.TP"
  click_at "$frame" "${SAVE_RUN_AT[@]}"
  if ! box=$(wait_window "Success!" 60); then
    wait_window "Error!" 1 >/dev/null && fail "the run reported an error"
    fail "no success message after Save & Run"
  fi
  shot launcher-blackbox-success
  [ -s "$WORK/OUTPUT.TP" ] || fail "OUTPUT.TP was not written"
  first_line=$(head -n 1 "$WORK/OUTPUT.TP" | tr -d '\r')
  title=$(printf '%-72s' "Methane in air, stoichiometric, 2200 K and 1 atm")
  [ "$first_line" = "$title" ] || fail "OUTPUT.TP does not begin with the echo of the title"
  echo "Save & Run: zorvath.exe wrote OUTPUT.TP and the success message appeared"
  xdotool windowfocus "$box" 2>/dev/null
  sleep 0.3
  xdotool key Return
  sleep 1
  wait_window "Success!" 1 >/dev/null && fail "the success message did not close"
  shot launcher-blackbox
  echo "screenshot of the frame with the editor and the output window: $ARTIFACTS/launcher-blackbox.png"
else
  echo "SKIPPED: Save & Run with zorvath.exe: data/GPROP.DAT does not exist yet"
  shot launcher-blackbox
  echo "screenshot of the frame with the editor: $ARTIFACTS/launcher-blackbox.png"
fi

focus_frame "$frame"
xdotool key alt+f
sleep 0.5
xdotool key x  # E&xit
for _ in $(seq 100); do
  kill -0 "$ORVELLO_PID" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$ORVELLO_PID" 2>/dev/null && fail "File, Exit did not end the launcher"
wait "$ORVELLO_PID"
status=$?
ORVELLO_PID=
[ "$status" -eq 0 ] || fail "the launcher ended with status $status"
echo "File, Exit ended the launcher with status 0"
echo "PASS: black-box test of orvello.exe"
