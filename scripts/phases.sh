#!/usr/bin/env bash
# Sourced: times the phases of a long job and prints them as a table at its end.
#   phase NAME COMMAND...   runs COMMAND, notes how long it took and how it ended
#   phase_table             the phases noted so far (those of nested scripts too)
# The notes go to $TOVREL_PHASES_FILE, shared with the scripts a job calls.
export TOVREL_PHASES_FILE="${TOVREL_PHASES_FILE:-$(mktemp "${TMPDIR:-/tmp}/phases.XXXXXX")}"

phase() {
  local name="$1" started status=0
  shift
  started=$(date +%s)
  "$@" || status=$?
  printf '%s\t%s\t%s\n' "$name" "$(( $(date +%s) - started ))" "$status" >>"$TOVREL_PHASES_FILE"
  return "$status"
}

phase_table() {
  echo "== Where the time went"
  awk -F'\t' '{ printf "%-52s %6d s  %s\n", $1, $2, ($3 == 0 ? "ok" : "FAILED (" $3 ")") }' "$TOVREL_PHASES_FILE"
}

# One closing line for every CTest run of scripts/test.sh (their JUnit reports), as
# "Tests: N passed, N failed".
tests_closing_line() {
  python3 - "$@" <<'PY'
import sys, xml.etree.ElementTree as ET
passed = failed = 0
for path in sys.argv[1:]:
    try:
        suite = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        continue
    for case in suite.iter('testcase'):
        status = case.get('status')
        if status == 'run' and case.find('failure') is None and case.find('error') is None:
            passed += 1
        elif status != 'disabled':
            failed += 1
print(f"Tests: {passed} passed, {failed} failed")
PY
}
