#!/usr/bin/env bash
# Builds the release from the committed tree (HEAD, exported afresh: nothing uncommitted or
# ignored gets in) into dist/Tovrel-<version>.zip: the i686 Tovrel.exe and TovrelCheck.exe,
# stripped, the operator's guide as one self-contained HTML page (made from docs/ with pandoc,
# the screenshots inside it), a sample TovrelSvr.lst and SHA256SUMS.
# The same commit gives the same bytes in any folder at any time.
#   scripts/package.sh                  build dist/Tovrel-<version>.zip
#   scripts/package.sh --verify-twice   build it twice in two fresh folders, compare byte for byte
# The i686 programs are linked stripped (-s) and without a time stamp; see README's Release.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="${TOVREL_JOBS:-2}"
version="$(sed -n 's/.*VALUE "FileVersion", "\(.*\)"/\1/p' "$root/ui/tovrel.rc")"
name="Tovrel-$version"
prefix=i686-w64-mingw32

cleanup=()
trap 'rm -rf "${cleanup[@]}"' EXIT

# build_release COMMIT OUTPUT_DIR: the zip and its loose files in OUTPUT_DIR.
build_release() {
  local commit="$1" out="$2" work
  work="$(mktemp -d "${TMPDIR:-/tmp}/tovrel-release.XXXXXX")"
  cleanup+=("$work")
  mkdir -p "$work/src" "$out"
  git -C "$root" archive --format=tar "$commit" | tar -x -C "$work/src"
  # Dates come from the commit, never from the clock.
  local epoch
  epoch="$(git -C "$root" log -1 --format=%ct "$commit")"
  cmake -S "$work/src" -B "$work/build" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/toolchain-mingw-i686.cmake" -DTOVREL_BENCHMARKS=OFF -DTOVREL_STRIP=ON >/dev/null
  cmake --build "$work/build" -j"$jobs" --target Tovrel TovrelCheck >/dev/null
  local stage="$work/stage/$name"
  mkdir -p "$stage"
  cp "$work/build/ui/Tovrel.exe" "$work/build/checker/TovrelCheck.exe" "$stage/"
  if "$prefix-objdump" -t "$stage/Tovrel.exe" "$stage/TovrelCheck.exe" | grep -q '^\['; then
    echo "package: the executables still carry symbols" >&2
    exit 1
  fi
  # The guide as an operator opens it on Windows: one page, its pictures inside, no network.
  (cd "$work/src/docs" && pandoc guia-del-operador.md --from gfm --to html5 --standalone --self-contained \
     --metadata title="Tovrel: guía del operador" --metadata lang=es --output "$stage/guia-del-operador.html")
  cp "$work/src/demo/TovrelSvr.lst" "$stage/"
  python3 "$work/src/scripts/pe-stamps.py" "$stage/Tovrel.exe" "$stage/TovrelCheck.exe" >/dev/null \
    || { echo "package: a time stamp is left in an executable" >&2; python3 "$work/src/scripts/pe-stamps.py" "$stage"/*.exe >&2; exit 1; }
  # No folder of this build may show in what ships.
  if grep -a -l -e "$work" -e "$root" "$stage"/*.exe; then
    echo "package: build folders found in the executables above" >&2
    exit 1
  fi
  (cd "$stage" && sha256sum guia-del-operador.html Tovrel.exe TovrelCheck.exe TovrelSvr.lst >SHA256SUMS)
  SOURCE_DATE_EPOCH="$epoch" python3 - "$work/stage" "$name" "$out/$name.zip" <<'PY'
import os, sys, time, zipfile
stage, name, target = sys.argv[1:]
stamp = time.gmtime(int(os.environ['SOURCE_DATE_EPOCH']))[:6]
stamp = max(stamp, (1980, 1, 1, 0, 0, 0))
with zipfile.ZipFile(target, 'w') as archive:
    for file in sorted(os.listdir(os.path.join(stage, name))):
        info = zipfile.ZipInfo(f'{name}/{file}', date_time=stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = (0o100644 << 16)
        info.create_system = 3
        with open(os.path.join(stage, name, file), 'rb') as source:
            archive.writestr(info, source.read(), compresslevel=9)
PY
  cp "$stage"/*.exe "$stage/SHA256SUMS" "$out/"
  (cd "$out" && sha256sum "$name.zip" >"$name.zip.sha256")
}

commit="$(git -C "$root" rev-parse HEAD)"
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
  echo "package: uncommitted changes are not packaged; building $commit" >&2
fi

case "${1:-}" in
  "")
    rm -rf "$root/dist"
    build_release "$commit" "$root/dist"
    ls -l "$root/dist"
    cat "$root/dist/SHA256SUMS" "$root/dist/$name.zip.sha256"
    ;;
  --verify-twice)
    first="$(mktemp -d "${TMPDIR:-/tmp}/tovrel-first.XXXXXX")"
    second="$(mktemp -d "${TMPDIR:-/tmp}/tovrel-second.XXXXXXXXXX")"
    cleanup+=("$first" "$second")
    build_release "$commit" "$first/dist"
    sleep 2  # another second on the clock, another folder name
    TZ=America/Argentina/Buenos_Aires build_release "$commit" "$second/dist"
    status=0
    for file in "$name.zip" Tovrel.exe TovrelCheck.exe SHA256SUMS; do
      if cmp "$first/dist/$file" "$second/dist/$file"; then
        echo "same: $file $(sha256sum <"$first/dist/$file" | cut -d' ' -f1) ($(stat -c %s "$first/dist/$file") bytes)"
      else
        echo "DIFFERENT: $file" >&2
        status=1
      fi
    done
    exit "$status"
    ;;
  *) echo "usage: scripts/package.sh [--verify-twice]" >&2; exit 2 ;;
esac
