#!/usr/bin/env bash
# The one way to run a Windows program of either build here. Sourced:
#   source scripts/windows.sh
#   windows_runtime BUILD              where BUILD (x86_64 or i686) runs: wine8, root, vm, guest
#   windows_session_start BUILD PREFIX a prefix and a display for the build's Wine (here)
#   windows_run PROGRAM [ARGS...]      runs it in the session; exits with its exit code
#   windows_session_stop
#   windows_ctest BUILD [CTEST ARGS]   the build's CTest suites, wherever its runtime is
# x86_64 runs in the machine's Wine 8. i686 runs in the WoW64 root's Wine 10 (a Debian 13
# root beside this system, scripts/wow64-root.sh) where the kernel runs 32-bit code ("root"),
# otherwise inside a machine emulated in software ("vm", scripts/wow64-vm.sh), where this same
# file runs Wine directly ("guest").
# Rules kept here so that no caller repeats them: a private prefix made once with the crash
# dialog off; a display (Xvfb) that exists before the wineserver, its windows unmanaged; one
# wineserver for the whole session; wine's output to files, never into a pipe (the wineserver
# would inherit it); TMPDIR unset inside the root (its Wine 10 aborted with it set).

_windows_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
_windows_project="$(cd "$_windows_scripts/.." && pwd)"

wow64_root() { echo "${TOVREL_WOW64_ROOT_DIR:-/var/lib/tovrel/wow64-trixie}"; }

# Bind-mounts /proc, /sys, /dev, /dev/pts and every folder given (at the same path inside
# ROOT) where nothing is mounted yet; prints the mount points it made, one a line.
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

# wine, wineserver or wineboot of the session's Wine, in the current folder.
wine_cmd() {
  if [ -n "${TOVREL_WOW64_ROOT:-}" ]; then
    local cwd="$PWD"
    [ -d "$TOVREL_WOW64_ROOT$cwd" ] || cwd=/
    chroot "$TOVREL_WOW64_ROOT" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 \
      DISPLAY="${DISPLAY:-}" WINEPREFIX="$WINEPREFIX" WINEARCH=win64 \
      WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}" \
      sh -c 'cd "$0" && exec "$@"' "$cwd" "$@"
  else
    "$@"
  fi
}

# Where BUILD runs here (see above). The root's check runs once per shell: call it outside
# $(...) first (windows_session_start and windows_ctest do) to keep its answer.
windows_runtime() {
  case "$1" in
    x86_64) echo wine8 ;;
    i686)
      if [ -n "${TOVREL_VM_GUEST:-}" ]; then echo guest; return; fi
      if [ -z "${_windows_i686_runtime:-}" ]; then
        local status=0
        bash "$_windows_scripts/wow64-root.sh" --check >&2 || status=$?
        case "$status" in
          0) _windows_i686_runtime=root ;;
          3) _windows_i686_runtime=vm ;;
          *) _windows_i686_runtime=none ;;
        esac
      fi
      echo "$_windows_i686_runtime" ;;
    *) echo "windows_runtime: unknown build '$1' (x86_64 or i686)" >&2; return 2 ;;
  esac
}

# Starts a session for BUILD with the prefix PREFIX (made on first use): exports WINEPREFIX,
# DISPLAY and the rest, so that windows_run and CTest's emulator (scripts/windows-exec.sh)
# run programs in it. Not for a build whose runtime is the emulated machine.
windows_session_start() {
  windows_runtime "$1" >/dev/null || return 2
  local runtime; runtime="$(windows_runtime "$1")"
  case "$runtime" in
    wine8|guest|root) windows_session_open "$runtime" "$2" ;;
    *) echo "windows_session_start: the $1 build cannot run in a session here ($runtime)" >&2; return 2 ;;
  esac
}

# The session itself, for a runtime already known: wine8 or guest (Wine here), root.
windows_session_open() {
  if [ "$1" = root ]; then
    export TOVREL_WOW64_ROOT; TOVREL_WOW64_ROOT="$(wow64_root)"
  else
    unset TOVREL_WOW64_ROOT
  fi
  export WINEPREFIX="$2" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  WINDOWS_SESSION_XVFB_PID=""
  WINDOWS_SESSION_MOUNTS=()
  mkdir -p "$WINEPREFIX"
  if [ -n "${TOVREL_WOW64_ROOT:-}" ]; then
    local shared=("$_windows_project")
    case "$WINEPREFIX" in "$_windows_project"/*) ;; *) shared+=("$(dirname "$WINEPREFIX")") ;; esac
    mapfile -t WINDOWS_SESSION_MOUNTS < <(wow64_mount "$TOVREL_WOW64_ROOT" "${shared[@]}")
  fi
  # A display of our own unless the caller shows on its own (TOVREL_SHOW_ON_DISPLAY=1).
  if [ -z "${DISPLAY:-}" ] || [ -z "${TOVREL_SHOW_ON_DISPLAY:-}" ]; then
    local n i
    for n in $(seq 91 140); do
      if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then break; fi
    done
    Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    WINDOWS_SESSION_XVFB_PID=$!
    export DISPLAY=":${n}"
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X${n}" ] && break
      sleep 0.1
    done
  fi
  # A wineserver started without a display spoils the prefix for windows: start afresh.
  wine_cmd wineserver -k >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_cmd wineboot -i >/dev/null 2>&1 || true
    wine_cmd wineserver -w >/dev/null 2>&1 || true
    wine_cmd wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wine_cmd wineserver -w >/dev/null 2>&1 || true
  fi
  # On a display of our own no window manager runs, and Wine would wait 2 s for one each time
  # a framed window (a message box) is shown or hidden: there its windows go unmanaged. On the
  # caller's display its window manager has them.
  local managed=Y
  [ -z "$WINDOWS_SESSION_XVFB_PID" ] || managed=N
  if ! grep -q "^\"Managed\"=\"$managed\"" "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine_cmd wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f >/dev/null 2>&1 || true
    wine_cmd wineserver -w >/dev/null 2>&1 || true
  fi
  # One wineserver for the whole session: one that quits between two programs races with
  # the next program's start ("recvmsg: Connection reset by peer").
  wine_cmd wineserver -p </dev/null >/dev/null 2>&1 || true
}

windows_session_stop() {
  wine_cmd wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINDOWS_SESSION_XVFB_PID:-}" ]; then
    kill "$WINDOWS_SESSION_XVFB_PID" >/dev/null 2>&1 || true
    wait "$WINDOWS_SESSION_XVFB_PID" 2>/dev/null || true
  fi
  if [ "${#WINDOWS_SESSION_MOUNTS[@]}" -gt 0 ]; then
    wow64_unmount_these "${WINDOWS_SESSION_MOUNTS[@]}"
  fi
  WINDOWS_SESSION_MOUNTS=()
  WINDOWS_SESSION_XVFB_PID=""
  return 0
}

# Sets the user's DPI in the session's prefix. With --desktop the wineserver (and with it the
# desktop and its monitors) starts afresh, so that every program started afterwards is at DPI
# throughout; without it, Wine 10 takes the new value for the system's metrics and frames of
# programs started afterwards while the monitors keep the desktop's DPI. 0 puts the default
# back.
windows_set_system_dpi() {
  local dpi="$1"
  # Without a new desktop, the one running keeps its monitors' DPI: make sure there is one.
  [ "${2:-}" = --desktop ] ||
    wine_cmd wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
  if [ "$dpi" -eq 0 ]; then
    wine_cmd wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f </dev/null >/dev/null 2>&1 || true
  else
    wine_cmd wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      </dev/null >/dev/null 2>&1 || return 1
  fi
  if [ "${2:-}" = --desktop ]; then
    wine_cmd wineserver -k >/dev/null 2>&1 || true
    wine_cmd wineserver -w >/dev/null 2>&1 || true
    wine_cmd wineserver -p </dev/null >/dev/null 2>&1 || true
  fi
}

# Runs a Windows program in the session and exits with its exit code; what it printed is
# shown when it ends, with Windows line ends made plain and Wine's own noise left out. A
# program given --system-dpi=N or --system-metrics-dpi=N runs at that DPI, set up here and
# put back afterwards.
windows_run() {
  if [ -z "${WINEPREFIX:-}" ] || [ -z "${DISPLAY:-}" ]; then
    echo "windows_run: no session; call windows_session_start first" >&2
    return 2
  fi
  local work status=0 arg dpi=0 desktop=""
  for arg in "$@"; do
    case "$arg" in
      --system-dpi=*) dpi="${arg#*=}"; desktop=--desktop ;;
      --system-metrics-dpi=*) dpi="${arg#*=}" ;;
    esac
  done
  work="$(mktemp -d "${TMPDIR:-/tmp}/windows-run.XXXXXX")" || return 2
  [ "$dpi" -eq 0 ] || windows_set_system_dpi "$dpi" $desktop || { rm -rf "$work"; return 2; }
  wine_cmd wine "$@" </dev/null >"$work/out" 2>"$work/err" || status=$?
  [ "$dpi" -eq 0 ] || windows_set_system_dpi 0 --desktop
  sed 's/\r$//' "$work/out"
  # grep finds nothing to keep when the program wrote no error output: that is no failure.
  { grep -v -e 'wine32 is missing' -e 'multiarch needs to be enabled' -e 'dpkg --add-architecture' \
      -e 'apt-get install wine32' "$work/err" || true; } | sed 's/\r$//' >&2
  rm -rf "$work"
  return "$status"
}

# The build folder of BUILD.
windows_build_dir() {
  case "$1" in x86_64) echo "$_windows_project/build/win64" ;; i686) echo "$_windows_project/build/win32" ;; esac
}

# Runs the CTest suites of BUILD with CTEST ARGS (labels, filters) wherever the build runs:
# in a session here, or, for i686 where the kernel cannot run 32-bit code, inside the
# emulated machine, which runs this same function there. Ends with CTest's summary.
windows_ctest() {
  local build="$1"; shift
  local runtime status=0
  windows_runtime "$build" >/dev/null || return 2
  runtime="$(windows_runtime "$build")"
  case "$runtime" in
    vm)
      # Under software emulation a process takes 10 s and more to start: each test program
      # runs whole, in one process (BUILD.whole.TARGET), and so do the runs at a DPI. The
      # endurance cases take too long there to run every time.
      TOVREL_VM_CTEST_ARGS="${*:--R \.whole\.|\.ui\.Captions -E endurance}" bash "$_windows_scripts/wow64-vm.sh" "$_windows_scripts/vm/ctest-job.sh" || status=$?
      ;;
    none)
      echo "NOT RUN: the $build build's Windows tests: its Wine cannot run here (said above)"
      return 1 ;;
    *)
      windows_session_start "$build" "${TOVREL_PREFIX_DIR:-$_windows_project/build}/wine-test-prefix-$build" || return 2
      # Each test case in a process of its own, the whole-program runs left out, unless the
      # caller chose.
      [ "$#" -gt 0 ] || set -- -E '\.whole\.'
      ctest --test-dir "$(windows_build_dir "$build")" --output-on-failure \
        --output-junit ctest-junit.xml "$@" || status=$?
      windows_session_stop
      ;;
  esac
  return "$status"
}
