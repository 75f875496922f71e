#!/usr/bin/env bash
# Sourced by the scripts that run Windows programs here: a private Wine prefix and an X
# display (Xvfb when none is given).
#   source scripts/wine-session.sh; wine_session_start /path/to/prefix; ...; wine_session_stop
# Never pipe `wine ...` into another command: the wineserver would inherit the pipe.

wine_session_start() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  WINE_SESSION_XVFB_PID=""
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
  wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  # Keep one wineserver for the whole session: one that quits between two programs races
  # with the next program's start ("recvmsg: Connection reset by peer").
  wineserver -p </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINE_SESSION_XVFB_PID:-}" ]; then
    kill "$WINE_SESSION_XVFB_PID" >/dev/null 2>&1 || true
    wait "$WINE_SESSION_XVFB_PID" 2>/dev/null || true
  fi
}
