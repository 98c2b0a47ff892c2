#!/bin/sh
# On loop-device drives (vfat, else ext2): a backup succeeds, but a drive whose contents differ from the page cache, or whose writes fail at write-back, gets no archive.
. "$(dirname "$0")/drivelib.sh"
data=$scratch/data
fstype=$(for t in vfat ext2; do grep -qw $t /proc/filesystems && command -v mkfs.$t >/dev/null && echo $t; done | head -n 1)
[ -n "$fstype" ] || skip "neither vfat nor ext2 both in the kernel and as mkfs"
mkdir -p "$data/settings" && echo dhcp=yes >"$data/settings/eth0" && head -c 16000000 /dev/urandom >"$data/noise"
export LIFEBOAT_PROGRESS_FD=3

# make_drive NAME BACKING_KB: a 64 MiB drive whose image lies on a tmpfs of BACKING_KB, mounted at $scratch/NAME.
make_drive() {
    mount_drive "$scratch/$1.backing" "$2" && truncate -s 64M "$scratch/$1.backing/image"
    case $fstype in
        ext2) mkfs.ext2 -q -N 128 "$scratch/$1.backing/image" ;;
        *) "mkfs.$fstype" "$scratch/$1.backing/image" >/dev/null ;;
    esac
    mkdir "$scratch/$1"
    mount -o loop "$scratch/$1.backing/image" "$scratch/$1" 2>/dev/null || skip "no loop device (needs root and losetup)"
    mounts="$scratch/$1 $mounts"
}
archives() { ls -A "$1" | grep -v '^lost+found$' || true; }

make_drive healthy 131072
BACKUP_DIRS=$data/settings timeout 60 "$backup" "$scratch/healthy" 3>/dev/null 2>"$scratch/log" || fail "backup: $(cat "$scratch/log")"
archive=$scratch/healthy/$(archives "$scratch/healthy")
tar -tzf "$archive" >/dev/null && rm "$archive" || fail "no archive"

# change_behind_cache WHAT COMMAND...: bytes of the archive's first block change on the drive
# after they were written; the page cache still holds the old ones, the drive gives the new.
change_behind_cache() {
    what=$1 && shift && : >"$scratch/progress"
    BACKUP_DIRS=$data timeout 60 "$@" "$scratch/healthy" 3>"$scratch/progress" 2>"$scratch/log" &
    await_line '^partial ' "$scratch/progress"
    partial=$(sed -n 's/^partial //p' "$scratch/progress")
    until [ "$(stat -c %s "$partial")" -gt 1048576 ]; do sleep 0.05; done
    sync "$partial"
    first_kb=$(filefrag -v -b1024 "$partial" | awk '$1 == "0:" { sub(/\.\./, "", $4); print $4 }')
    head -c 64 /dev/urandom | dd of="$scratch/healthy.backing/image" bs=1 seek=$((first_kb * 1024 + 512)) conv=notrunc 2>/dev/null
    ! grep -q '^stage checking' "$scratch/progress" || fail "$what: the read-back began before the drive changed"
    status=0 && wait $! || status=$?
    [ $status = 1 ] && [ "$(last_error "$scratch/log")" = "read-back failed: ${partial%.*}" ] ||
        fail "$what: status $status, $(cat "$scratch/log")"
    [ -z "$(archives "$scratch/healthy")" ] || fail "$what: left $(archives "$scratch/healthy")"
}
change_behind_cache "changed drive" "$backup"
# A file system that refuses direct I/O, faked by dd (busybox runs its own dd whatever PATH says).
if [ -z "${LIFEBOAT_TEST_BUSYBOX:-}" ]; then
    mkdir "$scratch/no-direct"
    printf '#!/bin/sh\ncase " $* " in *" iflag=direct "*) exit 1 ;; esac\nexec %s "$@"\n' "$(command -v dd)" >"$scratch/no-direct/dd"
    chmod +x "$scratch/no-direct/dd"
    change_behind_cache "changed drive refusing direct I/O" env PATH="$scratch/no-direct:$PATH" sh "$script"
fi

# The image's 64 MiB on 4 MiB: the page cache takes the archive, write-back fails.
make_drive failing 4096
BACKUP_DIRS=$data expect_failure "failing drive" "writing $scratch/failing/backup-*.tar.gz failed" "$scratch/failing"
[ -z "$(archives "$scratch/failing")" ] || fail "failing drive: left $(archives "$scratch/failing")"
