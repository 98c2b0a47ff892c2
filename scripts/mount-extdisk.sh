#!/bin/sh
# mount-extdisk.sh MOUNTPOINT
#
# Mounts the operator's USB drive at MOUNTPOINT, creating the directory when
# it is missing. The drives looked at are the removable disks on the USB bus,
# in the order the kernel names them; a card reader without a card (size 0)
# is passed over. Of a drive, the first partition is taken, or the whole disk
# when it carries no partition table. The first drive that mounts as vfat,
# exfat or ext4, tried in that order, wins: sticks come FAT- or
# exFAT-formatted, a technician's drive may be ext4.
#
# Exit status: 0 mounted; 1 no usable drive; 2 wrong usage.
#
# For tests and bring-up:
#   EXTDISK_DEVICE  mount this block device, or this image file through a
#                   loop device, instead of searching for a drive
#   EXTDISK_SYSFS   root of the sysfs tree the search walks (default /sys)
set -u

filesystems="vfat exfat ext4"

if [ $# -ne 1 ]; then
    echo "usage: $0 MOUNTPOINT" >&2
    exit 2
fi
mountpoint=$1

# The name of the partition with the lowest number in sysfs disk directory $1,
# or of the disk itself when it has none. Partition directories list in name
# order (sda10 before sda2), hence the comparison of their numbers.
first_partition() {
    first=${1##*/}
    lowest=
    for number_file in "$1"/*/partition; do
        [ -f "$number_file" ] || continue
        number=$(cat "$number_file")
        if [ -z "$lowest" ] || [ "$number" -lt "$lowest" ]; then
            lowest=$number
            first=${number_file%/partition}
            first=${first##*/}
        fi
    done
    echo "$first"
}

# One device node a line for each removable USB disk with a medium in it.
usb_drives() {
    for disk in "${EXTDISK_SYSFS:-/sys}"/block/*; do
        [ "$(cat "$disk/removable" 2>/dev/null)" = 1 ] || continue
        [ "$(cat "$disk/size" 2>/dev/null)" != 0 ] || continue
        # /sys/block holds links into the device tree; a USB disk's target
        # lies below its host controller's usbN directory.
        case "$(cd -P "$disk" && pwd -P)" in
            */usb*) echo "/dev/$(first_partition "$disk")" ;;
        esac
    done
}

# mount itself sets up a loop device for an image file.
try_mount() {
    for filesystem in $filesystems; do
        mount -t "$filesystem" "$1" "$mountpoint" 2>/dev/null && return 0
    done
    echo "$0: $1 mounts as none of: $filesystems" >&2
    return 1
}

mkdir -p "$mountpoint" || exit 1

if [ -n "${EXTDISK_DEVICE:-}" ]; then
    try_mount "$EXTDISK_DEVICE"
    exit $?
fi

for device in $(usb_drives); do
    try_mount "$device" && exit 0
done
echo "$0: no usable USB drive found" >&2
exit 1
