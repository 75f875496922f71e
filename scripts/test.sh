#!/usr/bin/env bash
# Runs every test: the logic's unit tests on the host (with their line coverage), then the
# Win32 seam's tests, the window tests and the end-to-end tests of both Windows builds under
# Wine and Xvfb (scripts/windows.sh says where each build runs): the i686 build, the product,
# then the x86_64 build. Ends with CTest's summary of the last run; exits non-zero when any
# run failed or could not run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
source "$root/scripts/phases.sh"
junit_reports=(build/host/ctest-junit.xml build/win32/ctest-junit.xml build/win64/ctest-junit.xml)
rm -f "${junit_reports[@]}"
[ -n "${CI:-}" ] || trap 'phase_table; tests_closing_line "${junit_reports[@]/#/$root/}"' EXIT
phase "  packages" bash "$root/scripts/install-deps.sh"
phase "  build: host, x86_64, i686" "$root/scripts/build.sh" host win64 win32

echo "== Host unit tests"
find build/host -name '*.gcda' -delete 2>/dev/null || true
phase "  host unit tests" ctest --test-dir build/host --output-on-failure -j2 --output-junit ctest-junit.xml
echo "== Line coverage of the logic (catalogue/, registration/, commands/, checker/, loader/) by the host tests"
gcovr --root "$root" --filter 'catalogue/' --filter 'registration/' --filter 'commands/' --filter 'checker/' --filter 'loader/' --exclude-unreachable-branches \
      --print-summary build/host >build/coverage.txt 2>&1 || true
grep -E '^(lines|TOTAL|catalogue/|registration/|commands/|checker/|loader/)' build/coverage.txt || cat build/coverage.txt

source "$root/scripts/windows.sh"
status=0
for build in i686 x86_64; do
  windows_runtime "$build" >/dev/null
  echo "== Windows tests of the $build build ($(windows_runtime "$build"))"
  phase "  Windows tests, $build ($(windows_runtime "$build"))" windows_ctest "$build" || status=1
done
exit "$status"
