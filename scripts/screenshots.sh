#!/usr/bin/env bash
# Screenshots of both windows under Wine, with the system DPI at 96 (docs/form1.png,
# docs/frmefactura.png) and at 144 (docs/form1-144dpi.png, docs/frmefactura-144dpi.png), each
# on a desktop started at that DPI. Builds nothing; needs Xvfb, xdotool and ImageMagick
# (scripts/install-deps.sh --run). The e-invoice window is opened through the main window's
# hidden button by the test helper TovrelOpenFactura.exe beside Tovrel.exe.
#   scripts/screenshots.sh [i686|x86_64]     (default i686, the shipped build, in Wine 10)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-i686}"
source "$root/scripts/windows.sh"
exe="$(windows_build_dir "$build")/ui/Tovrel.exe"
helper="$(dirname "$exe")/TovrelOpenFactura.exe"
[ -f "$exe" ] || { echo "no $exe: build it first (scripts/build.sh)" >&2; exit 2; }
work="$(mktemp -d /tmp/tovrel-shots.XXXXXX)"
prefix="$work/prefix"

# A small application folder: the program, a registrar (any file will do for start-up)
# and a list with a few components.
app="$work/app"
mkdir -p "$app" "$root/docs"
cp "$exe" "$app/Tovrel.exe"
printf 'MZ' >"$app/regsvr32.exe"
printf '%s\r\n' "' Componentes de los sistemas" "dialogos.ocx,Systempath\$" \
  "controles.ocx,Systempath\$" "visor.dll,Crystal\$" "C:\\Sistemas\\informes.dll,CurrentPath\$" \
  "grilla.ocx,winpath\$" "facturas.dll," >"$app/TovrelSvr.lst"

windows_session_start "$build" "$prefix"
cleanup() {
  windows_session_stop
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to 60 s for a window with this exact title; prints its X window id.
wait_for_window() {
  local title="$1" deadline=$((SECONDS + 60)) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    id="$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)"
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.2
  done
  echo "no window titled '$title' within 60 s" >&2
  return 1
}

# Both windows with the system DPI at $1, saved as docs/form1$2.png and docs/frmefactura$2.png.
# The system DPI is read when a program starts: the user's setting is changed first.
shoot() {
  local dpi="$1" suffix="$2" form factura program
  windows_set_system_dpi "$dpi" --desktop
  (cd "$app" && windows_run Tovrel.exe >"$work/tovrel.log" 2>&1) &
  program=$!
  form="$(wait_for_window 'Tovrel - Producto Desarrollado por Quirval - Soluciones Vevezoduveze')"
  # The pointer highlights whatever step it rests on: move it over the window, so that Wine
  # notices, and then off to a corner.
  xdotool mousemove --window "$form" 10 10 sleep 0.3 mousemove 2 2 >/dev/null 2>&1 || true
  sleep 1  # let the first paint finish
  import -window root "$work/screen.png"
  import -window "$form" "$root/docs/form1$suffix.png" 2>/dev/null ||
    cp "$work/screen.png" "$root/docs/form1$suffix.png"

  windows_run "$helper" >"$work/helper.log" 2>&1 || true
  factura="$(wait_for_window 'Registrar componentes de e-Factura')"
  sleep 1
  import -window "$factura" "$root/docs/frmefactura$suffix.png" 2>/dev/null ||
    import -window root "$root/docs/frmefactura$suffix.png"
  # End this program (and everything else in the session) before the next DPI.
  wine_cmd wineserver -k >/dev/null 2>&1 || true
  wait "$program" 2>/dev/null || true
  echo "wrote $root/docs/form1$suffix.png and $root/docs/frmefactura$suffix.png"
}

shoot 96 ""
shoot 144 "-144dpi"
windows_set_system_dpi 0 --desktop
