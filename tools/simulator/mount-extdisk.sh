#!/bin/sh
# The simulated device's mount-extdisk.sh: mounts the simulator's virtual USB
# drive on the mount point given as the only argument, when it is inserted.
# The drive is a file system of its own that the simulator keeps mounted on
# the state's usb/drive in the namespace the program's own is made from;
# this binds it, in the program's mount namespace, so the host never sees it.
set -eu
usb="$LIFEBOAT_SIM_STATE/usb"
[ -e "$usb/inserted" ] || exit 1
mount --bind "$usb/drive" "$1"
if [ -e "$usb/read-only" ]; then
    # A write-protected drive: readable, but every write fails.
    mount -o remount,bind,ro "$1"
fi
