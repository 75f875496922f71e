#!/usr/bin/env bash
# Builds everything: the logic and its unit tests on the host, and the Windows programs for
# x86_64 (what runs here under Wine) and i686 (the product).
#   scripts/build.sh [host|win64|win32]...   (default: all three)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${TOVREL_JOBS:-2}"
targets=("$@"); [ "${#targets[@]}" -gt 0 ] || targets=(host win64 win32)

for t in "${targets[@]}"; do
  case "$t" in
    host)
      cmake -S "$root" -B "$root/build/host" -DCMAKE_BUILD_TYPE=Debug -DTOVREL_COVERAGE=ON >/dev/null
      cmake --build "$root/build/host" -j"$jobs" ;;
    win64)
      cmake -S "$root" -B "$root/build/win64" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" >/dev/null
      cmake --build "$root/build/win64" -j"$jobs" ;;
    win32)
      cmake -S "$root" -B "$root/build/win32" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
      cmake --build "$root/build/win32" -j"$jobs" ;;
    *) echo "unknown build: $t" >&2; exit 2 ;;
  esac
done
