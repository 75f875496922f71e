#!/bin/sh
# The first process of the test machine (scripts/wow64-vm.sh): mounts what Wine needs and the
# project at its own path, runs the job named on the kernel's command line with the
# TOVREL_VM_* settings given there, writes what it printed beside the project's build, and
# powers the machine off.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin TOVREL_VM_GUEST=1
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmp /tmp
mount -t tmpfs shm /dev/shm
mount -o remount,rw /
hostname tovrel-vm
modprobe 9pnet_virtio
modprobe 9p
for word in $(cat /proc/cmdline); do
  case "$word" in
    tovrel.job=*) job="${word#tovrel.job=}" ;;
    TOVREL_VM_*=*) export "$word" ;;
  esac
done
project="${job%/scripts/*}"
mkdir -p "$project"
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 project "$project"
out="$project/build/vm/$(basename "$job" .sh).out"
echo "guest: running $job"
bash "$job" >"$out" 2>&1
echo "guest: job ended with $?"
sync
umount "$project"
echo o >/proc/sysrq-trigger
sleep 60
