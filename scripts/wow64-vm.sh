#!/usr/bin/env bash
# A whole machine, emulated in software, for the i686 build where this machine's kernel
# cannot run 32-bit code (scripts/wow64-root.sh --check exits 3): qemu-system-x86_64 (TCG,
# no KVM needed) boots Debian 13's own kernel over a disk made from the WoW64 root, with the
# project shared at its own path. Inside, Wine 10 runs 32-bit programs in WoW64 mode.
#   scripts/wow64-vm.sh [--build-only] [JOB]
# JOB is a script of the project run inside the machine (default scripts/vm/ctest-job.sh, the
# i686 CTest suites, with the arguments in TOVREL_VM_CTEST_ARGS);
# what it prints goes to build/vm/JOBNAME.out and is shown afterwards. The machine's disk
# (and the Wine prefix inside it, made on the first boot) is kept in $TOVREL_VM_DIR
# (default /var/lib/tovrel/vm) and built once. Software emulation is slow: Wine programs
# start in about 10 s instead of 1.
set -euo pipefail
project="$(cd "$(dirname "$0")/.." && pwd)"
source "$project/scripts/windows.sh"
vm_dir="${TOVREL_VM_DIR:-/var/lib/tovrel/vm}"
tree="$vm_dir/tree"
disk="$vm_dir/disk.img"
build_only=0
job="$project/scripts/vm/ctest-job.sh"
for arg in "$@"; do
  case "$arg" in
    --build-only) build_only=1 ;;
    -h|--help) sed -n '2,12p' "$0"; exit 0 ;;
    *) job="$(cd "$(dirname "$arg")" && pwd)/$(basename "$arg")" ;;
  esac
done
case "$job" in "$project"/*) ;; *) echo "the job must be inside the project: $job" >&2; exit 2 ;; esac

if ! command -v qemu-system-x86_64 >/dev/null || ! command -v mkfs.ext4 >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-system-x86 e2fsprogs >/dev/null
fi

# The tree's stamp names what it holds; a tree or disk made before it is made again.
tree_stamp="$tree/.tovrel-vm-tree-with-ctest"
if [ ! -f "$disk" ] || [ ! -f "$tree_stamp" ]; then
  status=0
  bash "$project/scripts/wow64-root.sh" || status=$?
  [ "$status" -eq 0 ] || [ "$status" -eq 3 ] || exit "$status"
  root="$(wow64_root)"
  echo "== The machine's tree, from the WoW64 root, with a kernel and Xvfb ($tree)"
  mkdir -p "$vm_dir"
  if [ ! -f "$tree_stamp" ]; then
    rm -rf --one-file-system "$tree"
    cp -a --one-file-system "$root" "$tree"
    printf '#!/bin/sh\nexit 101\n' >"$tree/usr/sbin/policy-rc.d"
    chmod +x "$tree/usr/sbin/policy-rc.d"
    mapfile -t mounts < <(wow64_mount "$tree")
    chroot "$tree" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
      apt-get install -y -q --no-install-recommends linux-image-amd64 xvfb xauth cmake >"$vm_dir/apt.log" 2>&1 ||
      { wow64_unmount_these "${mounts[@]}"; tail -20 "$vm_dir/apt.log"; exit 1; }
    wow64_unmount_these "${mounts[@]}"
    touch "$tree_stamp"
  fi
  install -m 755 "$project/scripts/vm/guest-init.sh" "$tree/tovrel-guest-init"
  echo "== The machine's disk ($disk)"
  mkfs.ext4 -q -F -L tovrelvm -d "$tree" "$disk.new" 8G
  mv "$disk.new" "$disk"
fi
# The first process comes from the project each time, so a disk made earlier runs the
# project's current one.
debugfs -w -R "rm /tovrel-guest-init" "$disk" >/dev/null 2>&1 || true
debugfs -w -f - "$disk" >/dev/null 2>&1 <<COMMANDS
write $project/scripts/vm/guest-init.sh /tovrel-guest-init
sif /tovrel-guest-init mode 0100755
COMMANDS
[ "$build_only" -eq 0 ] || exit 0

kernel="$(ls "$tree"/boot/vmlinuz-* | sort -V | tail -1)"
initrd="$(ls "$tree"/boot/initrd.img-* | sort -V | tail -1)"
mkdir -p "$project/build/vm"
printf '%s\n' "${TOVREL_VM_CTEST_ARGS:-}" >"$project/build/vm/ctest-args"
out="$project/build/vm/$(basename "$job" .sh).out"
console="$project/build/vm/$(basename "$job" .sh).console"
rm -f "$out"
echo "== Booting the machine (software emulation) for $job"
started=$(date +%s)
# The job's own environment settings (TOVREL_VM_*) reach it on the kernel's command line.
settings="$(env | grep -E '^TOVREL_VM_[A-Z_]+=[^ ]*$' | tr '\n' ' ' || true)"
# A CPU model without SMAP: qemu 7.2's emulation of a far return into 32-bit code faults
# under SMAP (the guest's kernel oopses), and 32-bit code is what this machine is for.
timeout "${TOVREL_VM_TIMEOUT:-5400}" qemu-system-x86_64 -accel tcg -cpu Nehalem \
  -smp "${TOVREL_VM_CPUS:-2}" -m "${TOVREL_VM_MEMORY:-4096}" -nographic -no-reboot \
  -kernel "$kernel" -initrd "$initrd" \
  -append "root=/dev/vda rw console=ttyS0 quiet panic=-1 init=/tovrel-guest-init tovrel.job=$job $settings" \
  -drive "file=$disk,format=raw,if=virtio" \
  -virtfs "local,path=$project,mount_tag=project,security_model=none" \
  </dev/null >"$console" 2>&1 || true
echo "== The machine ran for $(( $(date +%s) - started )) s; what the job printed ($out):"
if [ -f "$out" ]; then cat "$out"; else echo "(nothing: see $console)"; tail -20 "$console"; exit 1; fi
tr -d '\r' <"$console" | grep -q '^guest: job ended with 0$'
