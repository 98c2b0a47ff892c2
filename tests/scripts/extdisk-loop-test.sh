#!/bin/sh
# The mount scripts on a loop device over a real image of a filesystem both kernel and mkfs know.
. "$(dirname "$0")/testlib.sh"
image=$scratch/drive.img mountpoint=$scratch/extdisk
skip() { echo "SKIPPED: $*"; exit 77; }
fstype=$(for t in vfat exfat ext4; do grep -qw $t /proc/filesystems && command -v mkfs.$t >/dev/null && echo $t; done | head -n 1)
[ -n "$fstype" ] || skip "no vfat, exfat or ext4 both in the kernel and as mkfs (dosfstools)"
echo "Testing with $fstype." && truncate -s 32M "$image" && "mkfs.$fstype" "$image" >/dev/null 2>&1
loop=$(losetup --find --show "$image") || skip "no loop device (needs root and losetup)"
cleanup_hook() { umount "$mountpoint" 2>/dev/null || true; losetup -d "$loop"; }
is_mounted() { grep -q " $mountpoint " /proc/mounts; }
EXTDISK_DEVICE=$loop "$1/mount-extdisk.sh" "$mountpoint" && echo saved >"$mountpoint/file" || fail "mounting $loop"
(cd "$mountpoint" && exec sleep 60) &
if "$1/umount-extdisk.sh" "$mountpoint" 2>/dev/null || ! is_mounted; then fail "busy drive unmounted"; fi
kill $! && wait $! || true
"$1/umount-extdisk.sh" "$mountpoint" && ! is_mounted || fail "unmounting"
"$1/umount-extdisk.sh" "$mountpoint" || fail "unmounting with nothing mounted"
