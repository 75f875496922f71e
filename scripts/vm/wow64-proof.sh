#!/bin/sh
# Runs inside the test machine (scripts/wow64-vm.sh): the i686 build in Wine 10's WoW64 mode.
# Registers the demo's sample servers with the 32-bit Tovrel.exe, shows where the files and
# keys went, asks a client of each bitness for the servers, then runs the i686 test programs.
# Everything it prints goes to the file the host reads.
root="$(cd "$(dirname "$0")/../.." && pwd)"
b32=$root/build/win32
b64=$root/build/win64
clsids="{6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A01} {6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A02} {6F1C2A10-3B4D-4E5F-8A91-2C3D4E5F6A03}"
suites="${TOVREL_VM_SUITES:-win32 ui e2e}"
status=0
stamp() { date +%s; }
since() { echo "[$(( $(date +%s) - $1 )) s]"; }

export TOVREL_TEST_TIME_SCALE="${TOVREL_TEST_TIME_SCALE:-5}"
export TOVREL_SOAK_PRESSES="${TOVREL_SOAK_PRESSES:-60}"
export HOME=/root WINEPREFIX=/root/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
Xvfb :5 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
export DISPLAY=:5
sleep 2
t=$(stamp); [ -f "$WINEPREFIX/system.reg" ] || wineboot -i; wineserver -p; echo "prefix ready $(since $t)"
sys64="$WINEPREFIX/drive_c/windows/system32"
sys32="$WINEPREFIX/drive_c/windows/syswow64"

echo "== The 32-bit cmd.exe: PROCESSOR_ARCHITECTURE and PROCESSOR_ARCHITEW6432"
wine 'C:\windows\syswow64\cmd.exe' /c 'echo %PROCESSOR_ARCHITECTURE% %PROCESSOR_ARCHITEW6432%'

echo "== The i686 Tovrel.exe registers the three samples"
app=/root/app
rm -rf "$app"; mkdir -p "$app"
for s in A B C; do rm -f "$sys32/TovrelSample$s.dll" "$sys64/TovrelSample$s.dll" \
  "$WINEPREFIX/drive_c/windows/TovrelSample$s.dll"; done
# The prefix outlives a run: what an earlier run registered must not answer for this one.
for c in $clsids; do
  for view in 32 64; do wine reg delete "HKCR\\CLSID\\$c" /f /reg:$view >/dev/null 2>&1; done
done
cp "$b32/ui/Tovrel.exe" "$app/"
cp "$b32/tools/registrar/TovrelRegistrar.exe" "$app/regsvr32.exe"
cp "$root/demo/TovrelSvr.lst" "$app/"
for s in A B C; do cp "$b32/tools/sample_com/TovrelSample$s.dll" "$app/"; done
file "$app/Tovrel.exe" 2>/dev/null || true
t=$(stamp)
(cd "$app" && wine Tovrel.exe >/tmp/tovrel.out 2>&1) &
wine "$b32/tests/e2e/TovrelDriver.exe" wait 300
wine "$b32/tests/e2e/TovrelDriver.exe" register
echo "run done $(since $t)"
echo "-- TovrelSampleC.dll (Systempath\$): syswow64 and system32"
ls -l "$sys32/TovrelSampleC.dll" "$sys64/TovrelSampleC.dll" 2>&1
if cmp "$app/TovrelSampleC.dll" "$sys32/TovrelSampleC.dll"; then
  echo "the syswow64 copy is the i686 sample, byte for byte"
else
  echo "FAILED: no i686 sample in syswow64"; status=1
fi
for c in $clsids; do
  for view in 32 64; do
    echo "\$ reg query HKCR\\CLSID\\$c\\InprocServer32 /reg:$view"
    wine reg query "HKCR\\CLSID\\$c\\InprocServer32" /reg:$view 2>&1 | tr -d '\r' | grep -v '^$'
  done
done
echo "-- A 32-bit client"
wine "$b32/tools/com_client/TovrelComClient.exe" $clsids >/tmp/client32.out 2>&1
tr -d '\r' </tmp/client32.out
grep -q 'Tovrel.SampleC 32-bit' /tmp/client32.out || { echo "FAILED: the 32-bit client did not reach the 32-bit sample"; status=1; }
echo "-- A 64-bit client (the 64-bit view has no such classes)"
wine "$b64/tools/com_client/TovrelComClient.exe" $clsids >/tmp/client64.out 2>&1
tr -d '\r' </tmp/client64.out
[ "$(grep -c 'not created, 0x80040154' /tmp/client64.out)" -eq 3 ] ||
  { echo "FAILED: the 64-bit client did not get REGDB_E_CLASSNOTREG for each"; status=1; }
wineserver -k; sleep 1; wineserver -p

for suite in $suites; do
  case "$suite" in
    win32) exe="$b32/tests/win32/tovrel_win32_tests.exe" ;;
    ui) exe="$b32/ui/tests/tovrel_ui_tests.exe" ;;
    e2e) exe="$b32/tests/e2e/tovrel_e2e_tests.exe" ;;
    endurance) exe="$b32/tests/e2e/tovrel_e2e_endurance_tests.exe" ;;
  esac
  echo "== i686 suite $suite"
  t=$(stamp)
  full="$root/build/vm/i686-$suite.txt"
  (cd /tmp && wine "$exe" ${TOVREL_VM_FILTER:+--gtest_filter=$TOVREL_VM_FILTER} >/tmp/suite.out 2>&1)
  code=$?
  echo "exit $code $(since $t)"
  [ "$code" -eq 0 ] || status=1
  tr -d '\r' </tmp/suite.out >"$full"
  echo "(all of it: build/vm/i686-$suite.txt)"
  grep -E '^\[ *(FAILED|PASSED) *\]|Failure|Expected|Which is|Value of|actual|error' "$full" | tail -80
done
wineserver -k
exit "$status"
