#!/usr/bin/env bash
# Runs every test: the logic's unit tests on the host (with their line coverage), then the
# Win32 seam's tests, the window tests and the end-to-end tests of Tovrel.exe under Wine and
# Xvfb: the i686 build in the WoW64 root's Wine 10, then the x86_64 build in the machine's
# Wine 8. Ends with CTest's summary of the last run; exits non-zero when any run failed or
# could not run.
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

source "$root/scripts/wine-session.sh"
status=0

# The shipped i686 build, in the WoW64 root's Wine 10 (scripts/wow64-root.sh).
echo "== Windows tests of the i686 build (the product) under Wine 10 in WoW64 mode"
wow64_check=0
bash "$root/scripts/wow64-root.sh" --check || wow64_check=$?
if [ "$wow64_check" -eq 0 ]; then
  TOVREL_WOW64_ROOT="$(wow64_root)" TOVREL_OWN_XVFB=1 wine_session_start "$root/build/wine-test-prefix-wow64"
  trap wine_session_stop EXIT
  TOVREL_WOW64_ROOT="$(wow64_root)" ctest --test-dir build/win32 --output-on-failure || status=1
  TOVREL_WOW64_ROOT="$(wow64_root)" wine_session_stop
  trap - EXIT
elif [ "$wow64_check" -eq 3 ] && [ -z "${TOVREL_NO_VM:-}" ]; then
  # This kernel cannot run 32-bit code: the same root's Wine 10 runs in a machine emulated
  # in software, whose kernel can (scripts/wow64-vm.sh). Its waits are allowed five times
  # as long (TOVREL_TEST_TIME_SCALE).
  echo "== 32-bit code cannot run on this kernel: the i686 build's tests run in an emulated machine"
  bash "$root/scripts/wow64-vm.sh" || status=1
else
  # Not a failure of the program, but loud, and fatal where it is required
  # (TOVREL_REQUIRE_WOW64=1).
  echo "NOT RUN: the i686 build's Windows tests: 32-bit programs cannot run here (the check above says why)."
  [ -z "${TOVREL_REQUIRE_WOW64:-}" ] || status=1
fi

# Its x86_64 twin, in the machine's Wine 8.
echo "== Windows tests of the x86_64 build under Wine 8"
unset TOVREL_WOW64_ROOT
TOVREL_OWN_XVFB=1 wine_session_start "$root/build/wine-test-prefix"
trap wine_session_stop EXIT
ctest --test-dir build/win64 --output-on-failure || status=1
exit "$status"
