#!/bin/sh
# The simulated device's umount-extdisk.sh: flushes and unmounts the virtual
# USB drive from the mount point given as the only argument. A slow drive
# takes two seconds to flush its cache, as a cheap USB stick does.
set -eu
sync
if [ -e "$LIFEBOAT_SIM_STATE/usb/slow" ]; then
    sleep 2
fi
umount "$1"
