#!/usr/bin/env bash
# CTest's emulator for the Windows test programs: runs one in the session that
# windows_ctest started (scripts/windows.sh). A failure with no output at all means the
# program never ran (now and then Wine's launcher fails before the program starts, e.g. on a
# lost wineserver connection): that start is tried once more, and said so. A test program
# that ran always prints something, so a real failure is never retried.
source "$(cd "$(dirname "$0")" && pwd)/windows.sh"
[ "$#" -gt 0 ] || { echo "usage: windows-exec.sh PROGRAM [ARGUMENTS...]" >&2; exit 2; }
out="$(mktemp "${TMPDIR:-/tmp}/windows-exec.XXXXXX")" || exit 2
trap 'rm -f "$out"' EXIT
status=0
windows_run "$@" >"$out" || status=$?
if [ "$status" -ne 0 ] && [ ! -s "$out" ]; then
  echo "windows-exec.sh: the program did not start (exit $status); starting it once more" >&2
  sleep 1
  status=0
  windows_run "$@" >"$out" || status=$?
fi
cat "$out"
exit "$status"
