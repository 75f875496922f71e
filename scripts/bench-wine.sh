#!/usr/bin/env bash
# Times the finished Tovrel.exe under Wine, a 32,767-entry list beside a 10-entry one in the
# same run: start-up to the visible window, "Marcar/Desmarcar", a run over every entry
# unchecked to "Finalizado", and peak working set beside a bare checked ListView holding the
# same entries, built for the same bitness. Both builds: the shipped i686 one in the WoW64
# root's Wine 10 (where this machine can run 32-bit code), then the x86_64 twin in Wine 8.
#   scripts/bench-wine.sh [repeats] [win32|win64]...     (builds them first)
# TOVREL_BENCH_RUNS=N makes N runs in each program (the closing message answered between them)
# and adds the peak after each run and the working set at the end.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
repeats="${1:-3}"
shift || true
builds=("$@"); [ "${#builds[@]}" -gt 0 ] || builds=(win32 win64)
runs="${TOVREL_BENCH_RUNS:-1}"
source "$root/scripts/windows.sh"

zpath() { local p="${1//\//\\}"; printf 'Z:%s' "$p"; }  # Wine maps Z: to /

make_app() {  # folder, entry count
  mkdir -p "$1"
  cp "$bin/ui/Tovrel.exe" "$1/"
  cp "$bin/tools/logging_registrar/TovrelLoggingRegistrar.exe" "$1/regsvr32.exe" 2>/dev/null \
    || printf 'MZ' >"$1/regsvr32.exe"
  python3 - "$1/TovrelSvr.lst" "$2" <<'PY'
import sys
path, count = sys.argv[1], int(sys.argv[2])
with open(path, 'wb') as f:
    f.write(b"' componentes de prueba\r\n")
    for i in range(count):
        f.write(b'componente%05d.dll,Systempath$\r\n' % i)
PY
}

bench_build() {  # build folder name, build
  bin="$root/build/$1"
  work="$root/build/bench-wine-$1"
  rm -rf "$work"; mkdir -p "$work"
  windows_session_start "$2" "$root/build/bench-prefix-$1"
printf '%-8s %-5s %11s %11s %10s %10s %11s %11s %10s\n' entries try startup_ms bare_start marcar_ms run_ms tovrel_kib bare_kib delta_mib
for n in 10 32767; do
  app="$work/app-$n"
  make_app "$app" "$n"
  for t in $(seq 1 "$repeats"); do
    wine_cmd wine "$bin/bench/win32/TovrelTimeProgram.exe" --runs "$runs" "$(zpath "$app/Tovrel.exe")" "$(zpath "$app")" "$(zpath "$work/time-$n-$t.txt")" >/dev/null 2>&1 || true
    wine_cmd wine "$bin/bench/win32/TovrelTimeProgram.exe" --bare "$(zpath "$bin/bench/win32/TovrelBareListView.exe")" "$(zpath "$app")" "$(zpath "$work/bare-$n-$t.txt")" >/dev/null 2>&1 || true
    python3 - "$n" "$t" "$work/time-$n-$t.txt" "$work/bare-$n-$t.txt" <<'PY'
import sys, re
n, t, tf, bf = sys.argv[1:5]
def kv(path):
    try:
        return dict(re.findall(r'(\w+)=(\S+)', open(path).read()))
    except OSError:
        return {}
a, b = kv(tf), kv(bf)
if 'error' in a or 'startup_ms' not in a:
    print(f"{n:<8} {t:<6} failed: {open(tf).read().strip() if a else 'no output'}")
else:
    delta = (int(a['peak_kib']) - int(b.get('peak_kib', 0))) / 1024
    extra = (f"  startup_kib={a['startup_kib']} marcar_kib={a['marcar_kib']} peaks_kib={a['peaks_kib']}"
             f" end_kib={a['working_set_kib']}") if ',' in a.get('peaks_kib', '') else ''
    print(f"{n:<8} {t:<5} {a['startup_ms']:>11} {b.get('startup_ms','?'):>11} {a['marcar_ms']:>10} {a['run_ms']:>10} {a['peak_kib']:>11} {b.get('peak_kib','?'):>11} {delta:>10.1f}{extra}")
PY
  done
done
  windows_session_stop
}

for b in "${builds[@]}"; do
  case "$b" in win32) build=i686 ;; win64) build=x86_64 ;; *) echo "unknown build: $b" >&2; exit 2 ;; esac
  windows_runtime "$build" >/dev/null
  echo "== $build build ($(windows_runtime "$build"))"
  case "$(windows_runtime "$build")" in
    wine8|root|guest) ;;
    *) echo "NOT RUN: timings need the build's Wine on this machine, not an emulated one"; continue ;;
  esac
  "$root/scripts/build.sh" "$b" >/dev/null
  bench_build "$b" "$build"
done
