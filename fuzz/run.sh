#!/usr/bin/env bash
# Builds the fuzzer with clang and runs it for SECONDS over a copy of the seed corpus.
# Exits non-zero on any crash, leak, timeout or out-of-memory; the input that found it is
# left in the build folder (crash-*, leak-*, timeout-*, oom-*).
#   fuzz/run.sh SECONDS      (TOVREL_FUZZ_BUILD overrides build/fuzz)
set -euo pipefail
seconds="${1:?usage: fuzz/run.sh SECONDS}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TOVREL_FUZZ_BUILD:-$root/build/fuzz}"
jobs="${TOVREL_JOBS:-2}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTOVREL_FUZZ=ON -DTOVREL_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target tovrel_fuzz

# The fuzzer adds what it learns to its corpus: work on a copy, never on the seeds.
corpus="$build/fuzz-corpus"
rm -rf "$corpus" && mkdir -p "$corpus"
cp "$root/fuzz/corpus/"* "$corpus/"
log="$build/fuzz.log"
( cd "$build" && rm -f crash-* leak-* timeout-* oom-* slow-unit-* )

# A hang is what the timeout is for, not a slow scenario: every backup name taken for a
# component named with 32,000 characters, in each destination, took 15 s here in the in-memory
# platform (every lookup there scans every file).
status=0
( cd "$build" &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$build/fuzz/tovrel_fuzz" "$corpus" -max_total_time="$seconds" -timeout=40 -rss_limit_mb=2048 \
      -max_len=65536 -detect_leaks=1 -print_final_stats=1 >"$log" 2>&1 ) || status=$?

tail -n 25 "$log"
runs="$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' || echo '?')"
found="$(cd "$build" && ls crash-* leak-* timeout-* oom-* 2>/dev/null | tr '\n' ' ' || true)"
if [ "$status" -eq 0 ]; then
  echo "fuzz: ${seconds}s, ${runs} inputs, corpus $(ls "$corpus" | wc -l) files, nothing found"
else
  echo "fuzz: FAILED (exit ${status}) after ${runs} inputs; see $log ${found:+and $build/: $found}"
fi
exit "$status"
