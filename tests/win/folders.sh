#!/usr/bin/env bash
# The launcher in the folders a student really has, end to end with the real zorvath.exe
# under Wine, driven from the keyboard: a folder whose path is 200 characters long,
# folders with a Cyrillic and a Chinese name, and a folder holding both input.tp and
# INPUT.TP (and both spellings of the report). In each, "ZORVATH Parameters..." opens the editor, F5 saves
# and runs, the success message comes, and the files show that the editor and the solver
# used one input file. Screenshots in build-win/artifacts/. Needs the Windows build, the
# prefix and a display (run-windows-tests.sh provides them).
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"

FRAME_TITLE="Access to ZORVATH, QUELLIN and BRASKOT Software"
TITLE="Methane in air, stoichiometric, 2200 K and 1 atm"
INPUT=$'Methane in air, stoichiometric, 2200 K and 1 atm\r\n1.0\r\n4.0\r\n0.0\r\n0.0\r\n1.0\r\n2200.0\r\n101325.0\r\n'
ROOT=$WIN_BUILD/folders
FAILED=0
ORVELLO_PID=

finish() {
  if [ -n "$ORVELLO_PID" ] && kill -0 "$ORVELLO_PID" 2>/dev/null; then
    kill "$ORVELLO_PID" 2>/dev/null
    wait "$ORVELLO_PID" 2>/dev/null
  fi
  ORVELLO_PID=
}
trap finish EXIT

# fail CASE MESSAGE: ends the case, leaving a screenshot.
fail() {
  echo "FAIL ($1): $2"
  import -window root "$ARTIFACTS/launcher-folders-$1-failure.png" 2>/dev/null
  finish
  FAILED=1
  return 1
}

# A folder whose Windows path (Z: and the Unix path) has exactly the given length.
deep_folder() {
  local path=$ROOT/deep want=$1 need part
  while :; do
    need=$((want - 2 - ${#path}))
    [ "$need" -le 0 ] && break
    part=$((need - 1 < 60 ? need - 1 : 60))
    [ $((need - part - 1)) -eq 1 ] && part=$((part - 1))  # no room for a one-letter name
    path+=/$(printf 'd%.0s' $(seq "$part"))
  done
  echo "$path"
}

# run_case NAME DIR: the launcher in DIR, where INPUT.TP (the solver's spelling) holds
# INPUT; F5 must run zorvath on it and end with the success message.
run_case() {
  local name=$1 dir=$2 frame box
  for exe in launcher/orvello.exe tools/conspawn/conspawn.exe tp/zorvath.exe; do
    cp "$WIN_BUILD/$exe" "$dir/"
  done
  cp "$SUITE_ROOT/data/GPROP.DAT" "$dir/"

  (cd "$dir" && exec wine orvello.exe </dev/null >/dev/null 2>&1) &
  ORVELLO_PID=$!
  frame=$(wait_window "$FRAME_TITLE" 60) || { fail "$name" "the frame did not appear"; return 1; }
  xdotool windowfocus "$frame" 2>/dev/null
  sleep 0.3
  xdotool key alt+f
  sleep 0.5
  xdotool key Down Down Return  # ZORVATH Parameters...
  sleep 1
  wait_window "Error!" 1 >/dev/null && { fail "$name" "the editor could not open the input file"; return 1; }
  # The focus is in the editor's text: F5 saves and runs.
  xdotool key F5
  if ! box=$(wait_window "Success!" 60); then
    wait_window "Error!" 1 >/dev/null && { fail "$name" "the run reported an error"; return 1; }
    fail "$name" "no success message after F5"
    return 1
  fi
  sleep 1  # for the report window to be painted in the screenshot
  import -window root "$ARTIFACTS/launcher-folders-$name.png" 2>/dev/null
  [ "$(od -An -c "$dir/INPUT.TP")" = "$(printf '%s\0' "$INPUT" | od -An -c)" ] ||
    { fail "$name" "the editor did not save its text, with its zero byte, into INPUT.TP"; return 1; }
  [ "$(head -n 1 "$dir/OUTPUT.TP" | tr -d '\r')" = "$(printf '%-72s' "$TITLE")" ] ||
    { fail "$name" "OUTPUT.TP does not echo the title of INPUT.TP"; return 1; }
  xdotool windowfocus "$box" 2>/dev/null
  sleep 0.3
  xdotool key Return
  sleep 0.5
  xdotool windowfocus "$frame" 2>/dev/null
  xdotool key alt+f
  sleep 0.5
  xdotool key x  # E&xit: nothing unsaved, so no question
  for _ in $(seq 100); do
    kill -0 "$ORVELLO_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$ORVELLO_PID" 2>/dev/null && { fail "$name" "File, Exit did not end the launcher"; return 1; }
  ORVELLO_PID=
  echo "passed: $name ($dir)"
}

for exe in launcher/orvello.exe tools/conspawn/conspawn.exe tp/zorvath.exe; do
  [ -f "$WIN_BUILD/$exe" ] || { echo "FAIL: $exe has not been built"; exit 1; }
done
rm -rf "$ROOT"
mkdir -p "$ROOT" "$ARTIFACTS"
rm -f "$ARTIFACTS"/launcher-folders-*.png

deep=$(deep_folder 200)
[ $((${#deep} + 2)) -eq 200 ] || { echo "FAIL: the deep folder's path is not 200 characters"; exit 1; }
mkdir -p "$deep"
printf '%s' "$INPUT" >"$deep/INPUT.TP"
run_case deep "$deep"

# Folder names outside any one ANSI code page: Cyrillic and Chinese.
for named in "cyrillic:Расчёты горения" "chinese:燃烧计算"; do
  folder="$ROOT/${named#*:}"
  mkdir -p "$folder"
  printf '%s' "$INPUT" >"$folder/INPUT.TP"
  run_case "${named%%:*}" "$folder"
done

# Both spellings, as a Linux folder can hold them: the solver opens INPUT.TP and writes
# OUTPUT.TP, so the editor must save there; the lower-case files stay as they were.
both=$ROOT/both
mkdir -p "$both"
printf '%s' "$INPUT" >"$both/INPUT.TP"
printf 'not the solver'\''s input\r\n' >"$both/input.tp"
printf 'not the solver'\''s report\r\n' >"$both/output.tp"
printf 'an earlier report\r\n' >"$both/OUTPUT.TP"
if run_case both "$both"; then
  [ "$(cat "$both/input.tp")" = $'not the solver\'s input\r' ] &&
    [ "$(cat "$both/output.tp")" = $'not the solver\'s report\r' ] ||
    fail both "the lower-case input.tp or output.tp was changed"
fi

[ "$FAILED" -eq 0 ] && echo "PASS: the launcher in deep, Cyrillic, Chinese and two-spelling folders"
exit "$FAILED"
