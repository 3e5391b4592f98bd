#!/usr/bin/env bash
# Black-box test of the launcher: orvello.exe, conspawn.exe and the three real solvers in
# a scratch folder under Wine, driven with xdotool as a user would: for each item of the
# File menu in turn (BRASKOT, QUELLIN, ZORVATH Parameters...), Save, Save & Run, the
# success message dismissed and the report window checked; then File, Exit. Leaves
# screenshots in build-win/artifacts/. Needs the Windows build, the prefix and a display
# (run-windows-tests.sh provides them).
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"

WORK=$WIN_BUILD/blackbox
FRAME_TITLE="Access to ZORVATH, QUELLIN and BRASKOT Software"
# Where the editor's buttons are, relative to the frame: the first MDI child opens at the
# top left of the MDI area, and its button bar follows from the fixed fonts of the prefix.
# Each further child opens CASCADE pixels lower and to the right; so does its caption,
# the first one's at CAPTION_AT.
SAVE_AT=(35 71)
SAVE_RUN_AT=(106 71)
CAPTION_AT=(300 55)
CASCADE=22
ACTIVE_CAPTION="#3296FA"  # the prefix's colour of the active child's caption

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
for exe in launcher/orvello.exe tools/conspawn/conspawn.exe uv/braskot2.exe hp/quellin.exe tp/zorvath.exe; do
  [ -f "$WIN_BUILD/$exe" ] || fail "$exe has not been built"
  cp "$WIN_BUILD/$exe" "$WORK/"
done
cp "$SUITE_ROOT/data/GPROP.DAT" "$SUITE_ROOT/data/ERROR.TXT" "$WORK/"
# Written in upper case as the solvers name them; the launcher opens "input.uv" and so on.
cp "$SUITE_ROOT/data/examples/methane.uv" "$WORK/INPUT.UV"
cp "$SUITE_ROOT/data/examples/methane.hp" "$WORK/INPUT.HP"
printf 'Methane in air, stoichiometric, 2200 K and 1 atm\r\n1.0        carbon atoms\r\n4.0        hydrogen atoms\r\n0.0        oxygen atoms\r\n0.0        nitrogen atoms\r\n1.0        equivalence ratio\r\n2200.0     temperature (K)\r\n101325.0   pressure (Pa)\r\n' >"$WORK/INPUT.TP"

(cd "$WORK" && exec wine orvello.exe </dev/null >"$WORK/orvello.out" 2>&1) &
ORVELLO_PID=$!

frame=$(wait_window "$FRAME_TITLE" 60) || fail "the frame did not appear"
echo "frame window up"

# colour_at X Y: the colour of the screen pixel at X, Y relative to the frame.
colour_at() {
  local X Y WINDOW SCREEN WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$frame")"
  import -window root -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -1
}

# run_kind N KIND: the N-th item of the File menu (0 first) for the solver kind KIND (uv,
# hp or tp): its editor is the (2N)-th MDI child, its report window the next one.
run_kind() {
  local item=$1 kind=$2
  local input=$WORK/INPUT.${kind^^} report=$WORK/OUTPUT.${kind^^}
  local shift_=$((2 * item * CASCADE)) text expected_saved
  text=$(cat "$input"; printf x)
  expected_saved=$(printf '%s\0' "${text%x}" | od -An -c)

  focus_frame "$frame"
  xdotool key alt+f
  sleep 0.5
  for ((i = 0; i < item; ++i)); do xdotool key Down; done
  xdotool key Return
  sleep 1

  # Save adds the zero byte after the text: proof that the editor holds the input file.
  click_at "$frame" $((SAVE_AT[0] + shift_)) $((SAVE_AT[1] + shift_))
  for _ in $(seq 50); do
    [ "$(od -An -c "$input")" = "$expected_saved" ] && break
    sleep 0.1
  done
  [ "$(od -An -c "$input")" = "$expected_saved" ] ||
    fail "Save did not write the input.$kind editor's text followed by one zero byte"
  echo "editor opened on input.$kind and saved it"

  rm -f "$report"
  click_at "$frame" $((SAVE_RUN_AT[0] + shift_)) $((SAVE_RUN_AT[1] + shift_))
  if ! box=$(wait_window "Success!" 60); then
    wait_window "Error!" 1 >/dev/null && fail "the $kind run reported an error"
    fail "no success message after Save & Run in input.$kind"
  fi
  shot "launcher-blackbox-$kind-success"
  [ -s "$report" ] || fail "OUTPUT.${kind^^} was not written"
  local first_line title
  first_line=$(head -n 1 "$report" | tr -d '\r')
  title=$(printf '%-72s' "$(head -n 1 "$input" | tr -d '\r')")
  [ "$first_line" = "$title" ] || fail "OUTPUT.${kind^^} does not begin with the echo of the title"
  echo "Save & Run: the $kind solver wrote OUTPUT.${kind^^} and the success message appeared"
  xdotool windowfocus "$box" 2>/dev/null
  sleep 0.3
  xdotool key Return
  sleep 1
  wait_window "Success!" 1 >/dev/null && fail "the success message did not close"

  # The report window is the active child, one step down from its editor.
  local caption
  caption=$(colour_at $((CAPTION_AT[0] + shift_ + CASCADE)) $((CAPTION_AT[1] + shift_ + CASCADE)))
  [ "$caption" = "$ACTIVE_CAPTION" ] || fail "no active report window below the input.$kind editor (caption colour $caption)"
  shot "launcher-blackbox-$kind"
  echo "report window output.$kind open: $ARTIFACTS/launcher-blackbox-$kind.png"
}

run_kind 0 uv
run_kind 1 hp
run_kind 2 tp

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
