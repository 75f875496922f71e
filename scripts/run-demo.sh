#!/usr/bin/env bash
# Builds Tovrel and runs it under Wine in a demo application folder: the shipped i686 build in
# the WoW64 root's Wine 10 (scripts/wow64-root.sh; the first run sets the root up), or, with
# --x86_64 or where 32-bit code cannot run, the x86_64 twin in the machine's Wine 8.
#   scripts/run-demo.sh              run it (on $DISPLAY, or headless with a screenshot)
#   scripts/run-demo.sh --register   also press "Registrar", then verify the registrations
#   scripts/run-demo.sh --keep       headless: leave it running on its own X display
#   scripts/run-demo.sh --x86_64     run the x86_64 twin instead
# On a fresh Debian machine (as root) it first installs what it needs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
register=0
keep=0
arch=i686
for arg in "$@"; do
  case "$arg" in
    --register) register=1 ;;
    --keep) keep=1 ;;
    --x86_64) arch=x86_64 ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    *) echo "unknown option: $arg" >&2; exit 2 ;;
  esac
done

app="$root/build/demo-app"
screenshot="$root/build/demo-screenshot.png"
logs="$root/build/demo-logs"
samples=(A B C)
clsids=({6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A01} {6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A02}
        {6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A03})

echo "== Packages"
bash "$root/scripts/install-deps.sh" --run
source "$root/scripts/windows.sh"
if [ "$arch" = i686 ]; then
  windows_runtime i686 >/dev/null
  if [ "$(windows_runtime i686)" != root ]; then
    # The emulated machine that runs the i686 tests has no screen of yours to show.
    echo "== 32-bit programs cannot run on this machine's kernel: running the x86_64 twin instead"
    arch=x86_64
  fi
fi
if [ "$arch" = i686 ]; then
  build="$root/build/win32"; toolchain="$root/cmake/toolchain-mingw-i686.cmake"
  registry_view=/reg:32
else
  build="$root/build/win64"; toolchain="$root/cmake/toolchain-mingw-x86_64.cmake"
  registry_view=""
fi
prefix="$root/build/demo-prefix-$arch"

echo "== Build ($build)"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$build" -j2 --target Tovrel TovrelCheck TovrelRegistrar TovrelDriver TovrelComClient \
      TovrelSampleA TovrelSampleB TovrelSampleC

echo "== Application folder ($app)"
rm -rf "$app" "$logs"
mkdir -p "$app" "$logs"
cp "$build/ui/Tovrel.exe" "$app/"
cp "$build/tools/registrar/TovrelRegistrar.exe" "$app/regsvr32.exe"
cp "$root/demo/TovrelSvr.lst" "$app/"
for s in "${samples[@]}"; do cp "$build/tools/sample_com/TovrelSample$s.dll" "$app/"; done
ls -l "$app"

had_display="${DISPLAY:-}"
TOVREL_SHOW_ON_DISPLAY=1 windows_session_start "$arch" "$prefix"
stop_session() { windows_session_stop; }
[ "$keep" -eq 1 ] || trap stop_session EXIT
driver="$build/tests/e2e/TovrelDriver.exe"

drive() {
  local name="$1"; shift
  windows_run "$driver" "$@" 2>"$logs/$name.err"
}

echo "== Tovrel ($arch build) under Wine (prefix $prefix, display $DISPLAY)"
(cd "$app" && wine_cmd wine Tovrel.exe >"$logs/tovrel.out" 2>"$logs/tovrel.err") &
tovrel_pid=$!
drive wait wait 60

if [ -z "$had_display" ]; then
  import -display "$DISPLAY" -window root "$screenshot"
  echo "Screenshot: $screenshot"
fi

if [ "$register" -eq 1 ]; then
  echo "== Registrar"
  drive register register
  # A registrar is not awaited by Tovrel: give each sample's key a few seconds to appear.
  for i in "${!samples[@]}"; do
    for _ in $(seq 1 50); do
      wine_cmd wine reg query "HKCR\\CLSID\\${clsids[$i]}\\InprocServer32" ${registry_view:+"$registry_view"} \
        </dev/null >/dev/null 2>&1 && break
      sleep 0.2
    done
  done
  sleep 1  # the type libraries are registered last
  echo "== TovrelCheck /verificar: is each component registered, to the file the list ships?"
  windows_run "$build/checker/TovrelCheck.exe" /verificar "Z:${app//\//\\}" 2>"$logs/verify.err" || true
  echo "== A client of the same bitness ($arch) creates each component and asks who it is"
  windows_run "$build/tools/com_client/TovrelComClient.exe" "${clsids[@]}" 2>"$logs/client.err" || true
fi

if [ -n "$had_display" ]; then
  echo "Tovrel is running on $DISPLAY; close its window to end the demo."
  wait "$tovrel_pid" || true
elif [ "$keep" -eq 1 ]; then
  echo "Tovrel keeps running on the X display $DISPLAY (Xvfb pid ${WINDOWS_SESSION_XVFB_PID:-?})."
  echo "Drive it with:"
  echo "  WINEPREFIX=$prefix DISPLAY=$DISPLAY wine $driver list"
  echo "  WINEPREFIX=$prefix DISPLAY=$DISPLAY wine $driver register"
  echo "  DISPLAY=$DISPLAY import -window root shot.png"
  echo "End it with: WINEPREFIX=$prefix wineserver -k; kill ${WINDOWS_SESSION_XVFB_PID:-<Xvfb pid>}"
else
  echo "Ran headless. To drive it: scripts/run-demo.sh --register (presses \"Registrar\" and"
  echo "queries the keys), --keep (leaves it running on its own display), or run this script"
  echo "with DISPLAY set to use the window yourself."
fi
