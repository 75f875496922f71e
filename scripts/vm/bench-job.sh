#!/bin/bash
# Runs inside the emulated machine (scripts/wow64-vm.sh): the timings of scripts/bench-wine.sh
# on the programs the host laid out, in the machine's own Wine 10. The host passed
# TOVREL_VM_BENCH_ARGS=folder,build,repeats,runs and reads the figures left in the folder.
# Software emulation: the milliseconds are an emulated CPU's; ratios and memory still tell.
root="$(cd "$(dirname "$0")/../.." && pwd)"
export HOME=/root TOVREL_VM_GUEST=1 TOVREL_PREFIX_DIR=/root
IFS=, read -r work build repeats runs <<<"${TOVREL_VM_BENCH_ARGS:?}"
cd /tmp
bash "$root/scripts/bench-wine.sh" --measure "$work" "$build" "$repeats" "$runs"
