#!/bin/bash
# Runs inside the emulated machine (scripts/wow64-vm.sh): the i686 build's CTest suites, in a
# session of the machine's own Wine 10, with the CTest arguments the host left in
# build/vm/ctest-args. Software emulation is slow: the tests' waits are allowed ten times as
# long. Ends with CTest's summary.
root="$(cd "$(dirname "$0")/../.." && pwd)"
# The prefix stays on the machine's own disk, made on its first boot.
export HOME=/root TOVREL_VM_GUEST=1 TOVREL_PREFIX_DIR=/root
export TOVREL_TEST_TIME_SCALE="${TOVREL_TEST_TIME_SCALE:-10}"
export TOVREL_SOAK_PRESSES="${TOVREL_SOAK_PRESSES:-60}"
source "$root/scripts/windows.sh"
args=()
[ -f "$root/build/vm/ctest-args" ] && read -r -a args <"$root/build/vm/ctest-args"
cd /tmp
windows_ctest i686 "${args[@]}"
