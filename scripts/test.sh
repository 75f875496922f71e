#!/usr/bin/env bash
# Runs every test: the logic's unit tests on the host (with their line coverage), then the
# Win32 seam's tests and the end-to-end tests of Tovrel.exe under Wine and Xvfb.
# Ends with CTest's summary of the Windows tests.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash "$root/scripts/install-deps.sh"
"$root/scripts/build.sh" host win64 win32

echo "== Host unit tests"
find build/host -name '*.gcda' -delete 2>/dev/null || true
ctest --test-dir build/host --output-on-failure -j2
echo "== Line coverage of catalogue/ and registration/ by the host tests"
gcovr --root "$root" --filter 'catalogue/' --filter 'registration/' --exclude-unreachable-branches \
      --print-summary build/host >build/coverage.txt 2>&1 || true
grep -E '^(lines|TOTAL|catalogue/|registration/)' build/coverage.txt || cat build/coverage.txt

echo "== Windows tests under Wine"
source "$root/scripts/wine-session.sh"
TOVREL_OWN_XVFB=1 wine_session_start "$root/build/wine-test-prefix"
trap wine_session_stop EXIT
ctest --test-dir build/win64 --output-on-failure
