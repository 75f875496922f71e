#!/usr/bin/env bash
# Times the finished Tovrel.exe under Wine, a 32,767-entry list beside a 10-entry one: start-up
# to the visible window, "Marcar/Desmarcar", runs over every entry unchecked to "Finalizado", and
# peak working set, beside a bare checked ListView built for the same bitness and filled with the
# same entries (one insert and one check per entry, redraw off). Each try starts Tovrel and the
# bare list one after the other, for both sizes, so that a slow spell of the machine falls on
# both. Both builds: the shipped i686 one in the WoW64 root's Wine 10 (where this machine can run
# 32-bit code), then the x86_64 twin in Wine 8. Prints each try, then one table for the builds.
#   scripts/bench-wine.sh [repeats] [win32|win64]...     (builds them first; repeats: 5)
# "extra" is the median start-up at 32,767 entries minus the median at 10, for Tovrel and for
# the bare list alike ("bare fill"). TOVREL_BENCH_RUNS=N (3 unless told) runs N times after one
# "Marcar/Desmarcar"; the peak working set is read after start-up and after every run. The bare
# list's "Marcar/Desmarcar" is one message that inverts every mark. Then start-up at 32,767
# entries is taken apart (bench/win32/startup_phases.cpp), as many times, into a second table.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
repeats="${1:-5}"
shift || true
builds=("$@"); [ "${#builds[@]}" -gt 0 ] || builds=(win32 win64)
runs="${TOVREL_BENCH_RUNS:-3}"
source "$root/scripts/windows.sh"
summary="$(mktemp)"
phases="$(mktemp)"
trap 'rm -f "$summary" "$phases"' EXIT

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
  if ! windows_session_start "$2" "$root/build/bench-prefix-$1"; then
    echo "NOT RUN: no Wine session for the $2 build"
    echo "| $2 | NOT RUN: no Wine session | | | | | | |" >>"$summary"
    return 0
  fi
  local version
  version="$(wine_cmd wine --version 2>/dev/null || echo 'wine ?')"
  for n in 10 32767; do make_app "$work/app-$n" "$n"; done
  printf '%-8s %-5s %11s %11s %10s %10s %10s %11s %11s %10s\n' entries try startup_ms bare_start marcar_ms bare_marcar run_ms tovrel_kib bare_kib delta_mib
  for t in $(seq 1 "$repeats"); do
    for n in 10 32767; do
      app="$work/app-$n"
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
    print(f"{n:<8} {t:<5} {a['startup_ms']:>11} {b.get('startup_ms','?'):>11} {a['marcar_ms']:>10} {b.get('marcar_ms','?'):>10} {a['run_ms']:>10} {a['peak_kib']:>11} {b.get('peak_kib','?'):>11} {delta:>10.1f}"
          f"  closing={a.get('closing','?')} startup_kib={a.get('startup_kib','?')} marcar_kib={a.get('marcar_kib','?')} peaks_kib={a.get('peaks_kib','?')}")
PY
    done
  done
  bench_phases "$2" "$work"
  windows_session_stop
  python3 - "$2" "$version" "$work" "$repeats" >>"$summary" <<'PY'
import sys, re, statistics
build, version, work, repeats = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
def kv(path):
    try:
        return dict(re.findall(r'(\w+)=(\S+)', open(path).read()))
    except OSError:
        return {}
def column(kind, n, key):
    values = []
    for t in range(1, repeats + 1):
        v = kv(f"{work}/{kind}-{n}-{t}.txt").get(key)
        if v is not None:
            values.append(float(v))
    return values
def med(values):
    return statistics.median(values) if values else None
ts, tl = med(column('time', 10, 'startup_ms')), med(column('time', 32767, 'startup_ms'))
bs, bl = med(column('bare', 10, 'startup_ms')), med(column('bare', 32767, 'startup_ms'))
if None in (ts, tl, bs, bl):
    print(f"| {build}, {version} | NOT RUN: no start-up timed | | | | | | |")
    sys.exit(0)
extra, fill = tl - ts, bl - bs
ratio = f"{extra / fill:.2f}" if fill > 0 else "?"
mib = lambda values: ", ".join(f"{v / 1024:.1f}" for v in values)
print(f"| {build}, {version} | {extra:.0f} ms | {fill:.0f} ms | {ratio} | {ts:.0f} / {bs:.0f} ms "
      f"| {mib(column('time', 32767, 'peak_kib'))} / {mib(column('bare', 32767, 'peak_kib'))} MiB "
      f"| {med(column('time', 32767, 'marcar_ms')):.0f} / {med(column('bare', 32767, 'marcar_ms')):.0f} ms "
      f"| {med(column('time', 32767, 'run_ms')):.0f} ms |")
PY
}

bench_phases() {  # build, work folder: start-up taken apart, in the build's session
  local app="$2/app-32767" t
  cp "$bin/bench/win32/TovrelStartupPhases.exe" "$app/"
  for t in $(seq 1 "$repeats"); do
    wine_cmd wine "$app/TovrelStartupPhases.exe" "$(zpath "$2/phases-$t.txt")" >/dev/null 2>&1 || true
  done
  python3 - "$1" "$2" "$repeats" >>"$phases" <<'PY'
import sys, re, statistics
build, work, repeats = sys.argv[1], sys.argv[2], int(sys.argv[3])
rows = []
for t in range(1, repeats + 1):
    try:
        rows.append({k: float(v) for k, v in re.findall(r'(\w+)=(\S+)', open(f"{work}/phases-{t}.txt").read())})
    except OSError:
        pass
fields = ["load", "read", "insert", "check", "bracket", "rest", "show", "keys", "lookups", "marks", "marcar"]
if not rows:
    print(f"| {build} | NOT RUN |" + " |" * (len(fields) - 1))
else:
    print(f"| {build} | " + " | ".join(f"{statistics.median(r.get(f, 0) for r in rows):.0f}" for f in fields) + " |")
PY
}

for b in "${builds[@]}"; do
  case "$b" in win32) build=i686 ;; win64) build=x86_64 ;; *) echo "unknown build: $b" >&2; exit 2 ;; esac
  windows_runtime "$build" >/dev/null
  echo "== $build build ($(windows_runtime "$build"))"
  case "$(windows_runtime "$build")" in
    wine8|root|guest) ;;
    *) echo "NOT RUN: timings need the build's Wine on this machine, not an emulated one"
       echo "| $build | NOT RUN: no Wine of its own here | | | | | | |" >>"$summary"
       continue ;;
  esac
  if ! "$root/scripts/build.sh" "$b" >/dev/null; then
    echo "NOT RUN: the $b build failed"
    echo "| $build | NOT RUN: the build failed | | | | | | |" >>"$summary"
    continue
  fi
  bench_build "$b" "$build"
done

echo
echo "Medians of $repeats; 32,767 entries; peak working set after start-up, one \"Marcar/Desmarcar\" and $runs run(s), each try:"
echo "| build, Wine | extra start-up | bare fill | ratio | 10-entry start, Tovrel / bare | peak working set, Tovrel / bare list | \"Marcar/Desmarcar\", Tovrel / bare | run to \"Finalizado\" |"
echo "|---|---|---|---|---|---|---|---|"
cat "$summary"
echo
echo "Start-up at 32,767 entries taken apart, ms, medians of $repeats (bench/win32/startup_phases.cpp):"
echo "| build | load | read | insert | check | bracket | rest | show | keys (beside) | lookups waited | marks read | Marcar |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|"
cat "$phases"
