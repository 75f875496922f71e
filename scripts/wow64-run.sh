#!/usr/bin/env bash
# Runs one Windows program with the WoW64 root's Wine: mounts what it needs (the project and
# the current folder at their own paths), starts Xvfb when there is no display, makes the
# prefix on first use, and undoes all of it afterwards. Exits with the program's exit code;
# its output goes to files first and is printed when it ends (never pipe wine).
#   scripts/wow64-run.sh PROGRAM [ARGUMENTS...]
# Environment: WINEPREFIX (default: build/wow64-prefix in the project), DISPLAY,
# TOVREL_WOW64_ROOT.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
project="$(cd "$here/.." && pwd)"
source "$here/wow64-common.sh"
source "$here/wine-session.sh"
[ "$#" -gt 0 ] || { echo "usage: wow64-run.sh PROGRAM [ARGUMENTS...]" >&2; exit 2; }

export TOVREL_WOW64_ROOT="$(wow64_root)"
prefix="${WINEPREFIX:-$project/build/wow64-prefix}"
wine_session_start "$prefix"
status=0
wine_cmd wine "$@" </dev/null >"$WINE_SESSION_DIR/run.out" 2>"$WINE_SESSION_DIR/run.err" || status=$?
sed 's/\r$//' "$WINE_SESSION_DIR/run.out"
grep -v -e 'wine32 is missing' "$WINE_SESSION_DIR/run.err" | sed 's/\r$//' >&2
wine_session_stop
exit "$status"
