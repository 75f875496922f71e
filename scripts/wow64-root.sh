#!/usr/bin/env bash
# Builds, once, the Debian 13 root whose Wine 10 runs the shipped 32-bit build in WoW64 mode
# (32-bit Windows code inside a 64-bit Unix process), and checks it. Idempotent: each step
# leaves a stamp in the root and is skipped when its stamp is there, so a second run takes
# seconds. The root lives outside the clone, where later runs and other clones reuse it.
#   scripts/wow64-root.sh            build what is missing, then check
#   scripts/wow64-root.sh --check    only check
# Exit 0 when 32-bit programs run there, 3 when the root is built but the check fails (this
# kernel may lack what WoW64 needs: the message says what), anything else when building failed.
# Environment: TOVREL_WOW64_ROOT_DIR (default /var/lib/tovrel/wow64-trixie).
#
# Debian 13's amd64 Wine carries the 64-bit PE DLLs and the WoW64 layer, but almost none of
# the 32-bit PE DLLs. Those are taken from the libwine:i386 package of the same version,
# downloaded (never installed) and unpacked into the root's i386-windows folder. The version
# is pinned below: the graft is redone when it changes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
project="$(cd "$here/.." && pwd)"
source "$here/windows.sh"

wine_version="10.0~repack-6"
suite="trixie"
only_check=0
case "${1:-}" in
  --check) only_check=1 ;;
  "") ;;
  *) echo "usage: wow64-root.sh [--check]" >&2; exit 2 ;;
esac

root="$(wow64_root)"
stamps="$root/.tovrel"

step_done() { [ -f "$stamps/$1" ]; }
mark_done() { mkdir -p "$stamps"; date -u +%FT%TZ >"$stamps/$1"; }

# The Debian archive this machine's own apt uses (deb822 or one-line form); empty when none
# is found, and debootstrap then uses its own default.
host_mirror() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '/^URIs:/ {u=$2} /^Suites:/ {s=$0} /^$/ {if (u ~ /debian\/?$/ && s !~ /security/) {print u; exit} u=""; s=""}
         END {if (u ~ /debian\/?$/ && s !~ /security/) print u}' "$f" | head -n1
  done | head -n1
  grep -hE '^deb [^ ]*debian/? ' /etc/apt/sources.list 2>/dev/null | grep -v security | awk '{print $2}' | head -n1
  return 0
}

build_root() {
  local mirror
  mirror="$(host_mirror | head -n1 || true)"
  if [ "$(id -u)" -ne 0 ]; then
    echo "wow64-root.sh: building the root needs root (debootstrap, chroot, mounts)" >&2
    exit 1
  fi
  if ! command -v debootstrap >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
  fi
  if ! step_done debootstrap; then
    echo "== WoW64 root: debootstrap $suite into $root (about 40 s, 214 MB)"
    # A half-made root may still have folders bind-mounted into it: never delete through them.
    if [ -d "$root" ]; then
      findmnt -rn -o TARGET | grep -F "$root/" | sort -r | while read -r m; do umount -l "$m"; done
      rm -rf --one-file-system "$root"
    fi
    mkdir -p "$(dirname "$root")"
    debootstrap --variant=minbase "$suite" "$root" ${mirror:+"$mirror"} >"$(dirname "$root")/debootstrap.log" 2>&1 \
      || { tail -n 20 "$(dirname "$root")/debootstrap.log" >&2; exit 1; }
    mark_done debootstrap
  fi
  mapfile -t root_mounts < <(wow64_mount "$root")
  trap 'wow64_unmount_these "${root_mounts[@]}"' EXIT
  if ! step_done "wine-$wine_version"; then
    echo "== WoW64 root: Wine $wine_version (about 30 s, 231 MB fetched)"
    # 32-bit package lists are needed to download the i386 DLLs; no i386 package is installed.
    chroot "$root" dpkg --add-architecture i386
    chroot "$root" apt-get update -qq
    chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "wine=$wine_version" "wine64=$wine_version" "libwine=$wine_version" >/dev/null
    mark_done "wine-$wine_version"
  fi
  if ! step_done "i386-dlls-$wine_version"; then
    echo "== WoW64 root: grafting the 32-bit PE DLLs of libwine:i386 $wine_version (104 MB)"
    chroot "$root" sh -c "mkdir -p /var/cache/tovrel && cd /var/cache/tovrel && rm -rf unpacked *.deb &&
      apt-get download -qq 'libwine:i386=$wine_version' && dpkg-deb -x libwine_*_i386.deb unpacked &&
      cp -r unpacked/usr/lib/i386-linux-gnu/wine/i386-windows/. /usr/lib/x86_64-linux-gnu/wine/i386-windows/ &&
      rm -rf unpacked *.deb"
    mark_done "i386-dlls-$wine_version"
  fi
}

# The processor check first (no Wine needed), then the one that matters: the prefix's 32-bit
# cmd.exe must see an x86 process on an AMD64 machine.
check_root() {
  local probe_dir out
  probe_dir="$(mktemp -d)"
  cc -O0 -o "$probe_dir/compat_mode_probe" "$here/probe/compat_mode_probe.c"
  out="$("$probe_dir/compat_mode_probe" || true)"
  rm -rf "$probe_dir"
  if [ "$out" != "yes" ]; then
    echo "WoW64 check: 32-bit x86 code cannot run on this machine's kernel ($out)."
    echo "WoW64 check: FAILED: the i686 build cannot run here."
    return 1
  fi
  local check_prefix="$project/build/wow64-check-prefix" said
  said="$(mktemp)"
  (
    windows_session_open root "$check_prefix"
    windows_run 'C:\windows\syswow64\cmd.exe' /c 'echo %PROCESSOR_ARCHITECTURE% %PROCESSOR_ARCHITEW6432%'
    windows_session_stop
  ) >"$said" 2>&1 || true
  out="$(tr -d '\r' <"$said" | grep -E '^[A-Za-z0-9_]+ [A-Za-z0-9_%]+$' | tail -n1)"
  rm -f "$said"
  if [ "$out" = "x86 AMD64" ]; then
    echo "WoW64 check: passed (the prefix's 32-bit cmd.exe reports: $out; prefix $check_prefix)"
    return 0
  fi
  echo "WoW64 check: FAILED: the prefix's 32-bit cmd.exe said: ${out:-nothing}"
  return 1
}

if [ "$only_check" -eq 0 ]; then
  build_root
fi
check_root || exit 3
