#!/usr/bin/env bash
# Sourced by the scripts that use the WoW64 root (scripts/wow64-root.sh builds it): where it
# is, the bind mounts a program there needs, and the command that runs Wine inside it.

wow64_root() { echo "${TOVREL_WOW64_ROOT:-/var/lib/tovrel/wow64-trixie}"; }

# Bind-mounts /proc, /sys, /dev, /dev/pts and every folder given (at the same path inside the
# root, so that paths mean the same on both sides) where nothing is mounted yet. Prints the
# mount points it made, one a line, for wow64_unmount_these; what was mounted before (by a
# session still running) is left to its owner.
wow64_mount() {
  local root="$1"; shift
  local dir target
  for dir in /proc /sys /dev /dev/pts "$@"; do
    target="$root$dir"
    mkdir -p "$target"
    if ! mountpoint -q "$target"; then
      mount --bind "$dir" "$target"
      echo "$target"
    fi
  done
}

# Unmounts the mount points given (as wow64_mount printed them), last first.
wow64_unmount_these() {
  local points=("$@") i
  for ((i = ${#points[@]} - 1; i >= 0; i--)); do
    umount "${points[$i]}" 2>/dev/null || umount -l "${points[$i]}" 2>/dev/null || true
  done
}

# Runs a command of the root's Wine (wine, wineserver, wineboot) inside the root, in the
# current folder, with the session's display, prefix and debug settings. TMPDIR is left out:
# with it set the root's Wine aborted here ("free(): invalid pointer").
wow64_wine() {
  local root; root="$(wow64_root)"
  local cwd="$PWD"
  [ -d "$root$cwd" ] || cwd=/
  chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 \
    DISPLAY="${DISPLAY:-}" WINEPREFIX="$WINEPREFIX" WINEARCH=win64 \
    WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}" \
    ${TOVREL_EXTRA_WINE_ENV:-} \
    sh -c 'cd "$0" && exec "$@"' "$cwd" "$@"
}
