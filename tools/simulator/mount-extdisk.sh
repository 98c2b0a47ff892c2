#!/bin/sh
# The simulated device's mount-extdisk.sh: mounts the simulator's virtual USB
# drive on the mount point given as the only argument, when it is inserted.
# Runs inside the program's own mount namespace, so the host never sees it.
set -eu
usb="$LIFEBOAT_SIM_STATE/usb"
[ -e "$usb/inserted" ] || exit 1
mount --bind "$usb/drive" "$1"
if [ -e "$usb/read-only" ]; then
    # A write-protected drive: readable, but every write fails.
    mount -o remount,bind,ro "$1"
fi
