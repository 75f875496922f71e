#!/usr/bin/env bash
# Runs a Windows program with wine inside the session that wine_session_start set up
# (WINEPREFIX, DISPLAY, WINEDEBUG, WINEDLLOVERRIDES and, for the WoW64 root, TOVREL_WOW64_ROOT
# exported), and exits with its exit code.
# Used as the emulator of the Windows test programs:
#   source scripts/wine-session.sh; wine_session_start PREFIX; ctest ...; wine_session_stop
# Wine's output goes to files, never into a pipe: a wineserver or service started by this
# run would inherit a pipe and hold its reader open forever. The files are printed after
# the program ends, with Windows line ends turned into plain ones for the readers of it.
set -u

if [ "$#" -eq 0 ]; then
  echo "usage: wine-exec.sh PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi
if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec.sh: no Wine session; first run: source scripts/wine-session.sh; wine_session_start PREFIX" >&2
  exit 2
fi

source "$(cd "$(dirname "$0")" && pwd)/wine-session.sh"
work="$(mktemp -d "${TMPDIR:-/tmp}/wine-exec.XXXXXX")" || exit 2
trap 'rm -rf "$work"' EXIT

wine_cmd wine "$@" </dev/null >"$work/out" 2>"$work/err"
status=$?
# A failure with no output at all means the program never ran (now and then Wine's launcher
# fails before the program starts, e.g. on a lost wineserver connection): say so and try once
# more, showing what Wine said. A
# program that ran and failed always prints something, so real failures are not retried.
if [ "$status" -ne 0 ] && [ ! -s "$work/out" ]; then
  echo "wine-exec.sh: the program did not start (exit $status); starting it once more" >&2
  sed 's/\r$//' "$work/err" >&2
  sleep 1
  wine_cmd wine "$@" </dev/null >"$work/out" 2>"$work/err"
  status=$?
fi

sed 's/\r$//' "$work/out"
# Wine's own notes about a missing 32-bit loader are noise here: 32-bit code runs in WoW64
# mode or not at all.
grep -v -e 'wine32 is missing' -e 'multiarch needs to be enabled' -e 'dpkg --add-architecture' \
  -e 'apt-get install wine32' "$work/err" | sed 's/\r$//' >&2
exit "$status"
