#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs here: a private Wine prefix and an X
# display (Xvfb when none is given).
#   source scripts/wine-session.sh; wine_session_start /path/to/prefix; ...; wine_session_stop
# With TOVREL_WOW64_ROOT set (scripts/wow64-root.sh builds that root), the session uses the
# root's Wine 10, which runs the 32-bit build in WoW64 mode: the project folder and the
# prefix's folder are bind-mounted into the root at their own paths for the session's length.
# Without it, the machine's own Wine (64-bit programs only).
# Run every wine, wineserver and wineboot through wine_cmd. Never pipe `wine ...` into
# another command: the wineserver would inherit the pipe.
_wine_session_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$_wine_session_scripts/wow64-common.sh"

# wine_cmd wine|wineserver|wineboot ARGUMENTS...
wine_cmd() {
  if [ -n "${TOVREL_WOW64_ROOT:-}" ]; then
    wow64_wine "$@"
  else
    "$@"
  fi
}

wine_session_start() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  WINE_SESSION_DIR="$(mktemp -d "${TMPDIR:-/tmp}/wine-session.XXXXXX")"
  WINE_SESSION_XVFB_PID=""
  WINE_SESSION_MOUNTS=()
  mkdir -p "$WINEPREFIX"
  if [ -n "${TOVREL_WOW64_ROOT:-}" ]; then
    export TOVREL_WOW64_ROOT
    local project; project="$(cd "$_wine_session_scripts/.." && pwd)"
    local shared=("$project")
    case "$WINEPREFIX" in "$project"/*) ;; *) shared+=("$(dirname "$WINEPREFIX")") ;; esac
    mapfile -t WINE_SESSION_MOUNTS < <(wow64_mount "$TOVREL_WOW64_ROOT" "${shared[@]}")
  fi
  if [ -z "${DISPLAY:-}" ] || [ -n "${TOVREL_OWN_XVFB:-}" ]; then
    local n
    for n in $(seq 91 140); do
      if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then break; fi
    done
    Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    WINE_SESSION_XVFB_PID=$!
    export DISPLAY=":${n}"
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X${n}" ] && break
      sleep 0.1
    done
  fi
  # A wineserver started without a display spoils the prefix for windows: start afresh.
  wine_cmd wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_cmd wineboot -i >/dev/null 2>&1 || true
    wine_cmd wineserver -w >/dev/null 2>&1 || true
    wine_cmd wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wine_cmd wineserver -w >/dev/null 2>&1 || true
  fi
  # Keep one wineserver for the whole session: one that quits between two programs races
  # with the next program's start ("recvmsg: Connection reset by peer").
  wine_cmd wineserver -p </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
  wine_cmd wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" >/dev/null 2>&1 || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${TOVREL_WOW64_ROOT:-}" ] && [ "${#WINE_SESSION_MOUNTS[@]}" -gt 0 ]; then
    wow64_unmount_these "${WINE_SESSION_MOUNTS[@]}"
  fi
  WINE_SESSION_MOUNTS=()
  [ -n "${WINE_SESSION_DIR:-}" ] && rm -rf "$WINE_SESSION_DIR"
  return 0
}
