#!/usr/bin/env bash
# Installs what building and testing need, from Debian's packages. Idempotent: installs only
# what is missing. Never wine32 or the i386 architecture: here it replaces the working wine
# launcher with one that cannot start.
#   scripts/install-deps.sh          everything: build, run and test
#   scripts/install-deps.sh --run    only what building and running the Windows program needs
set -euo pipefail
# googletest: the Windows build also configures its test programs from those sources.
# mingw-w64-tools: widl, for the sample servers' type libraries. python3: the build completes
# a test component that delay-loads a DLL; python3-pefile: an independent reader of program
# files, for one test.
packages=(cmake make mingw-w64 mingw-w64-tools googletest wine64 xvfb x11-apps imagemagick xdotool debootstrap gcc python3)
if [ "${1:-}" != "--run" ]; then
  # pandoc: the release's guide as one HTML page.
  packages+=(g++ clang libclang-rt-dev libgtest-dev libgmock-dev libbenchmark-dev gcovr qemu-system-x86 e2fsprogs python3-pefile
             pandoc)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# The Debian 13 root whose Wine 10 runs the shipped 32-bit build (WoW64); built once, outside
# the clone, and reused. Exit 3 means it is there but 32-bit code cannot run on this machine:
# the scripts that need it say so and go on with the x86_64 build.
wow64_status=0
bash "$(dirname "$0")/wow64-root.sh" || wow64_status=$?
[ "$wow64_status" -eq 0 ] || [ "$wow64_status" -eq 3 ] || exit "$wow64_status"
# Debian's wine64 package may provide only wine64; make sure `wine` answers too.
if ! command -v wine >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
  ln -sf /usr/lib/wine/wine64 /usr/local/bin/wine
fi
