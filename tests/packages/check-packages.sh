#!/usr/bin/env bash
# Checks the packages that tools/package.sh left in build-pkg/ the way a user meets them:
#   - the Windows zip: every program imports only DLLs that Windows ships; unzipped into
#     an empty folder with a fresh Wine prefix, orvello.exe started there and a Save & Run
#     through each File item;
#   - the Windows installer, run silently in another fresh prefix: the launcher started
#     from its Start-menu shortcut runs each item in the working folder in Documents; a
#     second install keeps the inputs edited there; the uninstaller removes the programs
#     and leaves that folder alone;
#   - the Debian package: lintian without errors; installed with dpkg -i, a working folder
#     made with combustion-suite-workdir, each program run there, man zorvath, a Python
#     module it carries imported; after dpkg --purge nothing of it is left under /usr.
# Screenshots go to build-pkg/artifacts/. Installs what it needs (Xvfb, xdotool, Wine,
# lintian); needs root (or sudo) for dpkg. Exits non-zero when any check fails.
set -uo pipefail
source "$(dirname "$0")/../win/wine-env.sh"
bash "$SUITE_ROOT/tools/install-deps.sh" package || exit 1

PKG=$SUITE_ROOT/build-pkg
ARTIFACTS=$PKG/artifacts
SCRATCH=$PKG/check
export WINEPREFIX=$SCRATCH/no-prefix-yet  # none of the build's own prefixes
FRAME_TITLE="Access to ZORVATH, QUELLIN and BRASKOT Software"
SAVE_RUN_AT=(106 71)  # in the first editor, relative to the frame (as tests/win/blackbox.sh)
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo

# The solvers a release carries, in the order of the File menu: kind, program.
KINDS=(UV:braskot2 HP:quellin TP:zorvath)

FAILS=0 SEEN=0
fail() { echo "FAIL: $*"; FAILS=$((FAILS + 1)); }
pass() {  # what the checks since the last pass showed, if none of them failed
  [ "$FAILS" -eq "$SEEN" ] && echo "ok    $*"
  SEEN=$FAILS
}
shot() { import -window root "$ARTIFACTS/$1.png" 2>/dev/null; }

cleanup() {
  wine_session_stop
  stop_display
  dpkg-query -W combustion-suite >/dev/null 2>&1 && $SUDO dpkg --purge combustion-suite >/dev/null
}
trap cleanup EXIT

shopt -s nullglob
zip=("$PKG"/combustion-suite-*-win64.zip)
installer=("$PKG"/combustion-suite-*-win64.exe)
deb=("$PKG"/combustion-suite_*.deb)
[ ${#zip[@]} -eq 1 ] && [ ${#installer[@]} -eq 1 ] && [ ${#deb[@]} -eq 1 ] ||
  { echo "run bash tools/package.sh first: build-pkg/ needs one zip, one installer, one .deb"; exit 1; }
rm -rf "$SCRATCH" "$ARTIFACTS"
mkdir -p "$SCRATCH" "$ARTIFACTS"

# A fresh prefix whose Documents lie in a scratch home of its own.
fresh_prefix() {  # name
  wine_session_stop
  export WINEPREFIX=$SCRATCH/$1-prefix HOME=$SCRATCH/$1-home
  mkdir -p "$HOME"
  wine_prefix_ready
  wine_session_start
}

trimmed_first_line() { head -n 1 "$1" | tr -d '\r' | sed 's/ *$//'; }

frame_up() { xdotool search --onlyvisible --name "^$FRAME_TITLE\$" >/dev/null 2>&1; }

# Starts the launcher with the given command from the given directory, opens the editor
# of the item, presses Save & Run, and checks the success message and the report in the
# working folder; then File, Exit.
save_and_run() {  # label working-folder start-directory item-index kind command...
  local label=$1 folder=$2 from=$3 item=$4 kind=$5 frame box
  shift 5
  rm -f "$folder/OUTPUT.$kind"
  (cd "$from" && exec "$@" </dev/null >>"$SCRATCH/$label.log" 2>&1) &
  local launched=$!
  frame=$(wait_window "$FRAME_TITLE" 60) || { fail "$label: the launcher did not appear"; return; }
  xdotool windowfocus "$frame" 2>/dev/null; sleep 0.3
  xdotool key alt+f; sleep 0.5
  # The File menu opens on its first item: BRASKOT, QUELLIN, ZORVATH.
  for _ in $(seq "$item"); do xdotool key Down; done
  xdotool key Return; sleep 1
  xdotool mousemove --window "$frame" "${SAVE_RUN_AT[@]}" click 1
  if box=$(wait_window "Success!" 60); then
    shot "$label-$kind"
    if [ "$(trimmed_first_line "$folder/OUTPUT.$kind" 2>/dev/null)" = "$(trimmed_first_line "$folder/INPUT.$kind")" ]; then
      pass "$label: Save & Run of INPUT.$kind wrote OUTPUT.$kind"
    else
      fail "$label: OUTPUT.$kind does not begin with the title of INPUT.$kind"
    fi
    xdotool windowfocus "$box" 2>/dev/null; sleep 0.3
    xdotool key Return; sleep 0.5
  else
    shot "$label-$kind-failure"
    fail "$label: no success message after Save & Run of INPUT.$kind (screenshot $label-$kind-failure.png)"
  fi
  xdotool windowfocus "$frame" 2>/dev/null; sleep 0.3
  xdotool key alt+f; sleep 0.5
  xdotool key x
  for _ in $(seq 100); do frame_up || break; sleep 0.1; done
  frame_up && fail "$label: File, Exit did not end the launcher"
  wait "$launched" 2>/dev/null
}

run_every_item() {  # label working-folder start-directory command...
  local label=$1 folder=$2 from=$3 item
  shift 3
  for item in "${!KINDS[@]}"; do  # the File menu's order
    save_and_run "$label" "$folder" "$from" "$item" "${KINDS[item]%%:*}" "$@"
  done
}

start_display || exit 1

echo "== Windows zip: $(basename "${zip[0]}")"
unzipped=$SCRATCH/zip
mkdir -p "$unzipped"
(cd "$unzipped" && cmake -E tar xf "${zip[0]}")
top=("$unzipped"/*)
[ ${#top[@]} -eq 1 ] && [ -d "${top[0]}" ] || fail "the zip does not hold exactly one folder"
folder=${top[0]:-$unzipped}
expected=(orvello.exe conspawn.exe GPROP.DAT ERROR.TXT README.txt LICENSE.txt)
for entry in "${KINDS[@]}"; do expected+=("${entry#*:}.exe" "INPUT.${entry%%:*}"); done
for file in "${expected[@]}"; do
  [ -f "$folder/$file" ] || fail "the zip lacks $file"
done
for file in README.txt LICENSE.txt; do
  [ "$(grep -c $'\r$' "$folder/$file")" -eq "$(wc -l <"$folder/$file")" ] ||
    fail "$file does not end every line with CR LF"
done
# The DLLs of Windows itself; anything else (the compiler's runtime) would be missing on a
# student's machine.
system_dlls='^(kernel32|user32|gdi32|msvcrt|advapi32|shell32|comctl32|comdlg32|ole32|ws2_32)\.dll$|^api-ms-win-'
for exe in "$folder"/*.exe; do
  others=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print $3}' |
           grep -viE "$system_dlls" | tr '\n' ' ')
  [ -z "$others" ] || fail "$(basename "$exe") imports $others"
done
pass "zip: one folder with ${#expected[@]} files; the programs import only system DLLs"
fresh_prefix zip
run_every_item zip "$folder" "$folder" wine orvello.exe

echo "== Windows installer: $(basename "${installer[0]}")"
fresh_prefix installer
wine "${installer[0]}" /S </dev/null >"$SCRATCH/installer.log" 2>&1 || fail "the installer failed"
programs="$WINEPREFIX/drive_c/Program Files/Combustion Suite"
workdir="$HOME/Combustion Suite"  # the prefix's Documents is the home folder
shortcut=("$WINEPREFIX"/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/*/Orvello.lnk)
[ -f "$programs/orvello.exe" ] || fail "the installer put no orvello.exe under Program Files"
for entry in "${KINDS[@]}"; do
  [ -f "$programs/${entry#*:}.exe" ] || fail "the installer put no ${entry#*:}.exe under Program Files"
  [ -f "$workdir/INPUT.${entry%%:*}" ] || fail "the working folder lacks INPUT.${entry%%:*}"
done
for file in GPROP.DAT ERROR.TXT; do
  [ -f "$workdir/$file" ] || fail "the working folder lacks $file"
done
if [ ${#shortcut[@]} -eq 1 ]; then
  pass "installer: programs under Program Files, the working folder in Documents, the shortcut"
  # Started as from the Start menu, from elsewhere: the shortcut's "Start in" is the
  # working folder, and the launcher finds the programs beside itself.
  run_every_item installer "$workdir" "$SCRATCH" wine start /wait /unix "${shortcut[0]}"
else
  fail "the installer made no Start-menu shortcut Orvello.lnk"
fi
# Installing again (an update) keeps what the student has edited.
echo "an edited title" >"$workdir/INPUT.UV"
wine "${installer[0]}" /S </dev/null >>"$SCRATCH/installer.log" 2>&1
[ "$(cat "$workdir/INPUT.UV")" = "an edited title" ] || fail "installing again replaced an edited INPUT.UV"
wine "$programs/Uninstall.exe" /S </dev/null >>"$SCRATCH/installer.log" 2>&1
# The uninstaller runs on from a copy of itself: wait until its work is done.
lnk=${shortcut[0]:-}
for _ in $(seq 300); do [ -e "$programs" ] || [ -e "$lnk" ] || break; sleep 0.2; done
[ -e "$programs" ] && fail "the uninstaller left $(ls "$programs" | tr '\n' ' ')in Program Files"
[ -f "$workdir/GPROP.DAT" ] && [ -f "$workdir/INPUT.TP" ] && [ -f "$workdir/OUTPUT.TP" ] ||
  fail "the uninstaller touched the working folder"
[ -e "$lnk" ] && fail "the uninstaller left the shortcut"
pass "uninstaller: the programs and the shortcut gone, the working folder kept"
wine_session_stop
stop_display

echo "== Debian package: $(basename "${deb[0]}")"
lintian --tag-display-limit 0 "${deb[0]}" >"$SCRATCH/lintian.txt" 2>&1
grep -v '^running with root' "$SCRATCH/lintian.txt" | sed 's/^/      lintian: /'
grep -q '^E: ' "$SCRATCH/lintian.txt" && fail "lintian reports errors"
pass "deb: lintian finds no errors ($(grep -c '^W: ' "$SCRATCH/lintian.txt") warnings)"
find /usr -xdev | sort >"$SCRATCH/usr-before.txt"
$SUDO dpkg -i "${deb[0]}" >"$SCRATCH/dpkg.log" 2>&1 || { cat "$SCRATCH/dpkg.log"; fail "dpkg -i failed"; }
home=$SCRATCH/deb-home
combustion-suite-workdir "$home/flames" >"$SCRATCH/workdir.log" 2>&1 || fail "combustion-suite-workdir failed"
for entry in "${KINDS[@]}"; do
  kind=${entry%%:*} program=${entry#*:}
  [ -x "/usr/bin/$program" ] || { fail "/usr/bin/$program is not installed"; continue; }
  (cd "$home/flames" && "$program" >"../$program.out" 2>"../$program.err")
  status=$?
  if [ $status -eq 0 ] && [ ! -s "$home/$program.err" ] &&
     [ "$(trimmed_first_line "$home/flames/OUTPUT.$kind")" = "$(trimmed_first_line "$home/flames/INPUT.$kind")" ]; then
    pass "deb: $program ran in the working folder and wrote OUTPUT.$kind"
  else
    fail "deb: $program in the working folder: status $status, $(head -c 200 "$home/$program.err")"
  fi
  man -w "$program" >/dev/null 2>&1 || fail "deb: no man page for $program"
done
# A second run of the command keeps the user's input.
echo "an edited title" >"$home/flames/INPUT.TP"
combustion-suite-workdir "$home/flames" >>"$SCRATCH/workdir.log" 2>&1
[ "$(cat "$home/flames/INPUT.TP")" = "an edited title" ] || fail "combustion-suite-workdir replaced an edited INPUT.TP"
mkdir -p "$home/no-tables"
cp /usr/share/combustion-suite/examples/methane.tp "$home/no-tables/INPUT.TP"
(cd "$home/no-tables" && zorvath >/dev/null 2>"../no-tables.err")
grep -q 'F2001: OPEN(GPROP.DAT)' "$home/no-tables.err" || fail "deb: zorvath without GPROP.DAT did not report F2001"
MANWIDTH=80 man zorvath 2>"$SCRATCH/man.err" >"$SCRATCH/man.txt"
grep -q 'INPUT.TP' "$SCRATCH/man.txt" && [ ! -s "$SCRATCH/man.err" ] ||
  fail "man zorvath did not render: $(head -c 200 "$SCRATCH/man.err")"
pass "deb: the working folder kept an edited input; F2001 without GPROP.DAT; man zorvath renders"
# A Python package that the build installs (the module, when the build enables it) imports,
# byte code and all: the purge below must remove what the import and postinst made.
for init in $(dpkg -L combustion-suite | grep -E '^/usr/lib/python3/dist-packages/[^/]+/__init__\.py$'); do
  module=$(basename "$(dirname "$init")")
  if (cd "$home" && /usr/bin/python3 -c "import $module") 2>"$SCRATCH/python.err"; then
    pass "deb: python3 imports $module"
  else
    fail "deb: python3 cannot import $module: $(tail -n 1 "$SCRATCH/python.err")"
  fi
done
$SUDO dpkg --purge combustion-suite >>"$SCRATCH/dpkg.log" 2>&1 || fail "dpkg --purge failed"
find /usr -xdev | sort >"$SCRATCH/usr-after.txt"
if left=$(comm -13 "$SCRATCH/usr-before.txt" "$SCRATCH/usr-after.txt") && [ -n "$left" ]; then
  fail "dpkg --purge left under /usr: $left"
else
  pass "deb: dpkg --purge left nothing under /usr"
fi

echo "screenshots: $ARTIFACTS/"
[ "$FAILS" -eq 0 ] && echo "PASS: packages" || echo "FAILED: packages ($FAILS checks)"
[ "$FAILS" -eq 0 ]
