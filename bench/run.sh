#!/usr/bin/env bash
# Builds the host benchmarks in Release and runs them, printing Google Benchmark's table.
#   bench/run.sh [extra benchmark flags...]      (TOVREL_BENCH_BUILD overrides build/bench)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${TOVREL_BENCH_BUILD:-$root/build/bench}"
jobs="${TOVREL_JOBS:-2}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOVREL_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j"$jobs" --target tovrel_bench
"$build/bench/tovrel_bench" --benchmark_counters_tabular=true "$@"
