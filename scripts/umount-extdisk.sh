#!/bin/sh
# umount-extdisk.sh MOUNTPOINT
#
# Flushes the USB drive mounted at MOUNTPOINT and unmounts it. The program
# treats a failure here as fatal, so a mount point with nothing mounted on it
# (or no such directory) counts as success: there is nothing left to flush
# and the drive is safe to pull. A drive still busy (a process has a file
# open on it) is tried again for a few seconds before giving up.
#
# Exit status: 0 unmounted or nothing mounted; 1 still mounted; 2 wrong usage.
set -u

attempts=3

if [ $# -ne 1 ]; then
    echo "usage: $0 MOUNTPOINT" >&2
    exit 2
fi
mountpoint=$1

is_mounted() {
    resolved=$(cd -P "$mountpoint" 2>/dev/null && pwd -P) || return 1
    # The kernel writes a blank in a mount point's path as \040.
    RESOLVED=$resolved awk '
        { path = $2; gsub(/\\040/, " ", path) }
        path == ENVIRON["RESOLVED"] { found = 1 }
        END { exit !found }' /proc/self/mounts
}

if ! is_mounted; then
    echo "$0: nothing mounted at $mountpoint" >&2
    exit 0
fi

sync
attempt=1
until umount "$mountpoint"; do
    if [ "$attempt" -ge "$attempts" ]; then
        echo "$0: $mountpoint stays mounted" >&2
        exit 1
    fi
    attempt=$((attempt + 1))
    sleep 1
done
