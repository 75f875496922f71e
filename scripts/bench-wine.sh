#!/usr/bin/env bash
# Times the finished Tovrel.exe under Wine, a 32,767-entry list beside a 10-entry one: start-up
# to the visible window, then until it answers (the rest of its first paint), "Marcar/Desmarcar"
# pressed on the answering window, runs over every entry unchecked to "Finalizado", and peak
# working set, beside a bare checked ListView built for the same bitness and filled with the
# same entries (one insert and one check per entry, redraw off). Each try starts Tovrel and the
# bare list one after the other, for both sizes, so that a slow spell of the machine falls on
# both. Both builds: the shipped i686 one in the WoW64 root's Wine 10 where this machine can run
# 32-bit code, otherwise in the emulated machine's (whose milliseconds are an emulated CPU's,
# not a workstation's); then the x86_64 twin in Wine 8. Prints each try, then one table.
#   scripts/bench-wine.sh [repeats] [win32|win64]...     (builds them first; repeats: 5)
# "extra" is the median start-up at 32,767 entries minus the median at 10, for Tovrel and for
# the bare list alike ("bare fill"). TOVREL_BENCH_RUNS=N (3 unless told) runs N times after one
# "Marcar/Desmarcar"; the peak working set is read after start-up and after every run. The bare
# list's "Marcar/Desmarcar" is one message that inverts every mark. Then start-up at 32,767
# entries is taken apart (bench/win32/startup_phases.cpp), as many times, into a second table.
#   scripts/bench-wine.sh --measure FOLDER BUILD REPEATS RUNS
# only runs the programs laid out in FOLDER and leaves their figures there (what the emulated
# machine does, which has neither compilers nor Python).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/windows.sh"

zpath() { local p="${1//\//\\}"; printf 'Z:%s' "$p"; }  # Wine maps Z: to /

# The programs, the registrar and a list of COUNT entries in FOLDER/app-COUNT, for both sizes.
prepare() {  # build folder, work folder
  local bin="$root/build/$1" n app
  rm -rf "$2"; mkdir -p "$2"
  cp "$bin/bench/win32/TovrelTimeProgram.exe" "$bin/bench/win32/TovrelBareListView.exe" "$2/"
  for n in 10 32767; do
    app="$2/app-$n"
    mkdir -p "$app"
    cp "$bin/ui/Tovrel.exe" "$app/"
    cp "$bin/tools/logging_registrar/TovrelLoggingRegistrar.exe" "$app/regsvr32.exe"
    python3 - "$app/TovrelSvr.lst" "$n" <<'PY'
import sys
path, count = sys.argv[1], int(sys.argv[2])
with open(path, 'wb') as f:
    f.write(b"' componentes de prueba\r\n")
    for i in range(count):
        f.write(b'componente%05d.dll,Systempath$\r\n' % i)
PY
  done
  cp "$bin/bench/win32/TovrelStartupPhases.exe" "$2/app-32767/"
}

# Runs every try in a session of the build's Wine; each program leaves key=value figures.
measure() {  # work folder, build, repeats, runs
  local work="$1" build="$2" repeats="$3" runs="$4" t n app
  if ! windows_session_start "$build" "${TOVREL_PREFIX_DIR:-$root/build}/bench-prefix-$build"; then
    echo "no Wine session for the $build build" >"$work/failed.txt"
    return 0
  fi
  wine_cmd wine --version >"$work/version.txt" 2>/dev/null || echo 'wine ?' >"$work/version.txt"
  for t in $(seq 1 "$repeats"); do
    for n in 10 32767; do
      app="$work/app-$n"
      wine_cmd wine "$work/TovrelTimeProgram.exe" --runs "$runs" "$(zpath "$app/Tovrel.exe")" "$(zpath "$app")" "$(zpath "$work/time-$n-$t.txt")" >/dev/null 2>&1 || true
      wine_cmd wine "$work/TovrelTimeProgram.exe" --bare "$(zpath "$work/TovrelBareListView.exe")" "$(zpath "$app")" "$(zpath "$work/bare-$n-$t.txt")" >/dev/null 2>&1 || true
    done
  done
  for t in $(seq 1 "$repeats"); do
    wine_cmd wine "$work/app-32767/TovrelStartupPhases.exe" "$(zpath "$work/phases-$t.txt")" >/dev/null 2>&1 || true
  done
  windows_session_stop
}

if [ "${1:-}" = --measure ]; then
  measure "$2" "$3" "$4" "$5"
  exit 0
fi

repeats="${1:-5}"
shift || true
builds=("$@"); [ "${#builds[@]}" -gt 0 ] || builds=(win32 win64)
runs="${TOVREL_BENCH_RUNS:-3}"
summary="$(mktemp)"
phases="$(mktemp)"
trap 'rm -f "$summary" "$phases"' EXIT

# Each try's line, then the build's row of each table.
summarize() {  # work folder, label
  python3 - "$1" "$2" "$repeats" "$summary" "$phases" <<'PY'
import re, statistics, sys
work, label, repeats, summary, phases = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
def kv(path):
    try:
        return dict(re.findall(r'(\w+)=(\S+)', open(path).read()))
    except OSError:
        return {}
try:
    version = open(f"{work}/version.txt").read().strip()
except OSError:
    version = "wine ?"
label = f"{label}, {version}"
print(f"{'entries':<8} {'try':<5} {'startup_ms':>11} {'bare_start':>11} {'ready_ms':>9} {'bare_ready':>10} "
      f"{'marcar_ms':>10} {'bare_marcar':>11} {'run_ms':>8} {'tovrel_kib':>11} {'bare_kib':>9} {'delta_mib':>10}")
for t in range(1, repeats + 1):
    for n in (10, 32767):
        a, b = kv(f"{work}/time-{n}-{t}.txt"), kv(f"{work}/bare-{n}-{t}.txt")
        if 'error' in a or 'startup_ms' not in a:
            print(f"{n:<8} {t:<5} failed: {a.get('error', 'no output')}")
            continue
        delta = (int(a['peak_kib']) - int(b.get('peak_kib', 0))) / 1024
        print(f"{n:<8} {t:<5} {a['startup_ms']:>11} {b.get('startup_ms','?'):>11} {a.get('ready_ms','?'):>9} "
              f"{b.get('ready_ms','?'):>10} {a['marcar_ms']:>10} {b.get('marcar_ms','?'):>11} {a['run_ms']:>8} "
              f"{a['peak_kib']:>11} {b.get('peak_kib','?'):>9} {delta:>10.1f}  closing={a.get('closing','?')} "
              f"startup_kib={a.get('startup_kib','?')} marcar_kib={a.get('marcar_kib','?')} peaks_kib={a.get('peaks_kib','?')}")
def column(kind, n, key):
    values = [kv(f"{work}/{kind}-{n}-{t}.txt").get(key) for t in range(1, repeats + 1)]
    return [float(v) for v in values if v is not None]
def med(values):
    return statistics.median(values) if values else None
ts, tl = med(column('time', 10, 'startup_ms')), med(column('time', 32767, 'startup_ms'))
bs, bl = med(column('bare', 10, 'startup_ms')), med(column('bare', 32767, 'startup_ms'))
with open(summary, 'a') as out:
    if None in (ts, tl, bs, bl):
        out.write(f"| {label} | NOT RUN: no start-up timed | | | | | | | |\n")
    else:
        extra, fill = tl - ts, bl - bs
        ratio = f"{extra / fill:.2f}" if fill > 0 else "?"
        mib = lambda values: ", ".join(f"{v / 1024:.1f}" for v in values)
        pair = lambda key: f"{med(column('time', 32767, key)):.0f} / {med(column('bare', 32767, key)):.0f} ms"
        out.write(f"| {label} | {extra:.0f} ms | {fill:.0f} ms | {ratio} | {ts:.0f} / {bs:.0f} ms "
                  f"| {mib(column('time', 32767, 'peak_kib'))} / {mib(column('bare', 32767, 'peak_kib'))} MiB "
                  f"| {pair('ready_ms')} | {pair('marcar_ms')} | {med(column('time', 32767, 'run_ms')):.0f} ms |\n")
fields = ["load", "read", "insert", "check", "bracket", "rest", "show", "show_window", "paint", "keys", "lookups",
          "marks", "marcar", "marcar_list", "marcar_bracket", "marcar_one_changed"]
rows = [{k: float(v) for k, v in kv(f"{work}/phases-{t}.txt").items() if k in fields} for t in range(1, repeats + 1)]
rows = [r for r in rows if r]
with open(phases, 'a') as out:
    if not rows:
        out.write(f"| {label} | NOT RUN |" + " |" * (len(fields) - 1) + "\n")
    else:
        out.write(f"| {label} | " + " | ".join(f"{statistics.median(r.get(f, 0) for r in rows):.0f}" for f in fields) + " |\n")
PY
}

not_run() { echo "NOT RUN: $2"; echo "| $1 | NOT RUN: $2 | | | | | | | |" >>"$summary"; }

for b in "${builds[@]}"; do
  case "$b" in win32) build=i686 ;; win64) build=x86_64 ;; *) echo "unknown build: $b" >&2; exit 2 ;; esac
  windows_runtime "$build" >/dev/null
  runtime="$(windows_runtime "$build")"
  echo "== $build build ($runtime)"
  if ! "$root/scripts/build.sh" "$b" >/dev/null; then not_run "$build" "the build failed"; continue; fi
  work="$root/build/bench-wine-$b"
  prepare "$b" "$work"
  case "$runtime" in
    wine8|root)
      measure "$work" "$build" "$repeats" "$runs"
      summarize "$work" "$build" ;;
    vm)
      TOVREL_VM_BENCH_ARGS="$work,$build,$repeats,$runs" \
        bash "$root/scripts/wow64-vm.sh" "$root/scripts/vm/bench-job.sh" >/dev/null || true
      summarize "$work" "$build (emulated machine)" ;;
    *) not_run "$build" "no Wine for it here"; continue ;;
  esac
  [ ! -f "$work/failed.txt" ] || echo "NOT RUN: $(cat "$work/failed.txt")"
done

echo
echo "Medians of $repeats; 32,767 entries; peak working set after start-up, one \"Marcar/Desmarcar\" and $runs run(s), each try:"
echo "| build, Wine | extra start-up | bare fill | ratio | 10-entry start, Tovrel / bare | peak working set, Tovrel / bare list | visible to answering, Tovrel / bare | \"Marcar/Desmarcar\" pressed then, Tovrel / bare | run to \"Finalizado\" |"
echo "|---|---|---|---|---|---|---|---|---|"
cat "$summary"
echo
echo "Start-up at 32,767 entries taken apart, ms, medians of $repeats (bench/win32/startup_phases.cpp):"
echo "| build | load | read | insert | check | bracket | rest | show | of it: ShowWindow | of it: UpdateWindow | keys (beside) | lookups waited | marks read | Marcar | of it: the list | of it: redraw bracket | Marcar, one mark changed before |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|"
cat "$phases"
