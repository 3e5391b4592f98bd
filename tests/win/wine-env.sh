# Sourced by the Windows test scripts: the Wine prefix inside build-win, an X display
# without a window manager, and helpers to wait for windows.

SUITE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WIN_BUILD=$SUITE_ROOT/build-win
ARTIFACTS=$WIN_BUILD/artifacts

export WINEPREFIX=$WIN_BUILD/wineprefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts

# A prefix of our own, set up once: no window manager (else every window or box that
# closes blocks for 2 s), and a crashing program ends with its exception code instead of
# waiting in the debugger's crash dialog: without a Debugger value Wine starts winedbg
# anyway, so the value names a program that does not exist.
wine_prefix_ready() {
  [ -f "$WINEPREFIX/.suite-ready-2" ] && return 0
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >/dev/null 2>&1
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
    /t REG_SZ /d no-debugger.exe /f </dev/null >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.suite-ready-2"
}

# Keeps the Wine session up between programs, so each start takes a fraction of a second.
wine_session_start() {
  wineserver -p60 </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Ends the programs of our own prefix and its server.
wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
}

XVFB_PID=
# Starts Xvfb on a free display and exports DISPLAY.
start_display() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$fdfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    echo "Xvfb did not start" >&2
    rm -f "$fdfile"
    return 1
  fi
  export DISPLAY=:$(tr -d '[:space:]' <"$fdfile")
  rm -f "$fdfile"
}

stop_display() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

# Prints the id of the visible top-level window with exactly this title, waiting up to
# the given number of seconds; fails if none appears.
wait_window() {
  local title=$1 seconds=${2:-30} id
  for _ in $(seq $((seconds * 10))); do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -1)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  return 1
}
