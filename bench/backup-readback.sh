#!/bin/sh
# What the emergency backup's read-back costs: times emergency-backup.sh saving MEGABYTES of
# incompressible data onto a 256 MiB ext2 drive on a loop device (a tmpfs where no loop device
# can be had), then the read-back alone (direct reads through gzip -t) on the archive it made.
#   sh bench/backup-readback.sh [SCRIPTS_DIR [MEGABYTES]]   (default: build/scripts, 200;
#   the drive takes up to about 240)
# Needs root or user namespaces (unshare), mkfs.ext2 for the loop drive, and about 300 MB plus
# twice MEGABYTES of memory; without a mount namespace it exits with status 77 (skipped).
# Leaves nothing: drive and data live in a private mount namespace and a temporary directory.
set -eu
scripts=$(cd "${1:-build/scripts}" && pwd)
megabytes=${2:-200}
if [ -z "${BENCH_PRIVATE_MOUNTS:-}" ]; then
    if [ "$(id -u)" = 0 ]; then namespace=-m; else namespace=-rm; fi
    if ! unshare "$namespace" true 2>/dev/null; then
        echo "backup-readback: skipped: no mount namespace (needs root or user namespaces)" >&2
        exit 77
    fi
    BENCH_PRIVATE_MOUNTS=1 exec unshare "$namespace" sh "$0" "$scripts" "$megabytes"
fi
scratch=$(mktemp -d)
drive=$scratch/drive
trap 'umount "$drive" 2>/dev/null; umount "$scratch/backing" 2>/dev/null; rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data" "$scratch/backing" "$drive"
head -c "${megabytes}000000" /dev/urandom >"$scratch/data/noise"
mount -t tmpfs -o size=300m backing "$scratch/backing"
truncate -s 256M "$scratch/backing/image"
if mkfs.ext2 -q "$scratch/backing/image" 2>/dev/null && mount -o loop "$scratch/backing/image" "$drive" 2>/dev/null; then
    kind="ext2 on a loop device over tmpfs"
else
    mount -t tmpfs -o size=256m drive "$drive" && kind=tmpfs
fi

now_ms() { echo $(($(date +%s%N) / 1000000)); }
start=$(now_ms)
BACKUP_DIRS=$scratch/data "$scripts/emergency-backup.sh" "$drive" >/dev/null
backup_ms=$(($(now_ms) - start))
archive=$(ls "$drive"/backup-*.tar.gz)
start=$(now_ms)
dd if="$archive" iflag=direct bs=1M 2>/dev/null | gzip -t
readback_ms=$(($(now_ms) - start))

echo "$megabytes MB of random data onto $kind ($(stat -c %s "$archive") bytes of archive):"
echo "  backup with read-back:     $backup_ms ms (progress samples round each of its two stages up to whole seconds)"
echo "  read-back alone:           $readback_ms ms"
echo "  backup without read-back:  about $((backup_ms - readback_ms)) ms"
