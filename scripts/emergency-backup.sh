#!/bin/sh
# emergency-backup.sh TARGETDIR
#
# Saves the device's data onto the USB drive mounted at TARGETDIR as one
# archive, backup-YYYYmmdd-HHMMSS.tar.gz (readable by root only), holding each
# saved directory under its full path ("tar -C / -xzf ARCHIVE" puts
# everything back in place). Needs a POSIX sh with tar, gzip, dd, stat, du,
# df, mktemp, "mv -n -T" and "sync FILE": busybox alone or coreutils with tar.
#
#   BACKUP_DIRS  the directories to save, absolute and separated by blanks.
#                Default "/etc /var/lib /home /root": the settings, the state
#                the device's programs keep (touch calibration among it) and
#                the users' files. Directories that do not exist are skipped
#                with a message; when none is left (an empty list included)
#                the backup fails.
#
# What the drive holds is trusted for nothing:
# - TARGETDIR must be a mount point of a file system other than the root
#   one, so that a drive that is not mounted never fills the device's flash.
# - The archive is written into a fresh file of a unique name that this
#   script creates; no entry found on the drive is opened, written or
#   replaced. An entry of any kind under the final name fails the backup.
# - Before its final name is given, the archive is flushed with a checked
#   fsync and read back in full from the drive itself (direct I/O, or after
#   dropping its cached pages), through gzip's integrity check. The rename
#   never moves into an entry that appeared meanwhile and refuses to replace
#   one (atomically with GNU mv; busybox's mv looks just before renaming);
#   the file system is flushed after it. A file under the final name is
#   therefore complete.
# - On any failure, and on SIGHUP, SIGINT or SIGTERM (which also ends the
#   running tar or read-back), the temporary file is removed.
#
# Progress: when LIFEBOAT_PROGRESS_FD names an open descriptor, lines go to
# it: "partial PATH" (the temporary file), "stage saving" with "total BYTES"
# (what du finds in the saved directories) and "done BYTES" (read so far) about
# every second, then "stage checking" with the archive's size as total and
# how much of it has been read back.
#
# The last line on standard error says why a backup failed; these reasons
# have this exact wording after the "$0: " prefix:
#   no space: FREE bytes free, NEEDED bytes needed   (checked before writing,
#                                  NEEDED being the uncompressed size)
#   read-only: TARGETDIR           (nothing can be created there)
#   not mounted: TARGETDIR
#   archive exists: PATH
#   read-back failed: PATH         (the drive does not give back the archive)
# Other failures, such as "writing PATH failed" (tar or the flush failed),
# are told in plain words.
#
# Exit status: 0 the archive is on the drive; 1 it is not, and no temporary
# file is left; 2 wrong usage.
set -u
# dd's record counts are read below.
export LC_ALL=C
# Megabytes written between two flushes of the archive.
chunk_mb=4
# The directory list is split on blanks, never expanded as a pattern.
set -f

fail() {
    echo "$0: $*" >&2
    exit 1
}

progress_fd=${LIFEBOAT_PROGRESS_FD-}
case $progress_fd in
    '' | *[!0-9]*) progress_fd= ;;
    *) { true >&"$progress_fd"; } 2>/dev/null || progress_fd= ;;
esac
progress() {
    [ -z "$progress_fd" ] || echo "$*" >&"$progress_fd"
}

# While process $1 runs, reports every second how much of the stage's $2
# bytes the process whose number file $3 holds has read (default: $1 itself).
# The loop ends once the shell has reaped process $1 or it is a zombie.
report_reads() {
    while awk '$1 == "State:" { exit $2 == "Z" }' "/proc/$1/status" 2>/dev/null; do
        reader=$1
        [ -z "${3:-}" ] || reader=$(cat "$3" 2>/dev/null)
        done_bytes=$(awk -v total="$2" '$1 == "rchar:" { print ($2 < total + 0 ? $2 : total) }' \
            "/proc/$reader/io" 2>/dev/null)
        [ -z "$done_bytes" ] || progress "done $done_bytes"
        sleep 1
    done
}

# Appends standard input to file $1 a chunk at a time, each chunk flushed to
# the drive (a checked fsync) before the next is read. What is in memory never
# runs far ahead of the drive: tar goes at the drive's pace, so its progress
# is the drive's; a failing or pulled drive is noticed within a chunk; and a
# cancelled backup never waits for a long flush it cannot interrupt.
copy_flushed() {
    while :; do
        records=$(dd of="$1" bs=1048576 count=$chunk_mb iflag=fullblock oflag=append \
            conv=notrunc,fsync 2>&1 >/dev/null) || return 1
        case $records in "0+0 records in"*) return 0 ;; esac
    done
}

if [ $# -ne 1 ]; then
    echo "usage: $0 TARGETDIR" >&2
    exit 2
fi
target=$(CDPATH='' cd -P -- "$1" 2>/dev/null && pwd -P) || fail "not mounted: $1"
target_device=$(stat -c %d "$target")
if [ "$target_device" = "$(stat -c %d /)" ] || [ "$target_device" = "$(stat -c %d "$target/..")" ]; then
    fail "not mounted: $target"
fi

# Members are named relative to / with a leading "./", so that tar neither
# warns about absolute names nor reads a directory "-x" as an option.
members=
for dir in ${BACKUP_DIRS-/etc /var/lib /home /root}; do
    case $dir in
        /*) ;;
        *) echo "$0: skipping $dir: not an absolute path" >&2; continue ;;
    esac
    if [ -d "$dir" ]; then
        members="$members .$dir"
    else
        echo "$0: skipping $dir: no such directory" >&2
    fi
done
[ -n "$members" ] || fail "nothing to back up"

# The uncompressed size: gzip rarely saves much on what a device keeps, and
# running out of space halfway helps nobody.
# shellcheck disable=SC2086 # the member list is split on purpose
needed=$(cd / && du -sk $members 2>/dev/null | awk '{ kb += $1 } END { printf "%.0f\n", kb * 1024 }')
free=$(df -Pk "$target" | awk 'NR == 2 { printf "%.0f\n", $4 * 1024 }')
[ -n "$free" ] || fail "cannot read the free space of $target"
if awk -v free="$free" -v needed="$needed" 'BEGIN { exit !(free + 0 < needed + 0) }'; then
    fail "no space: $free bytes free, $needed bytes needed"
fi

archive=$target/backup-$(date +%Y%m%d-%H%M%S).tar.gz
if [ -e "$archive" ] || [ -L "$archive" ]; then
    fail "archive exists: $archive"
fi

# unfinished: the file this run removes unless it succeeds;
# worker: the child whose end the script is waiting for.
unfinished=
worker=
private=
trap '[ -z "$unfinished" ] || rm -f "$unfinished"; [ -z "$private" ] || rm -rf "$private"' EXIT
trap 'trap - HUP INT TERM; [ -z "$worker" ] || kill "$worker" 2>/dev/null; exit 1' HUP INT TERM

unfinished=$(mktemp "$archive.XXXXXX" 2>/dev/null) || fail "read-only: $target"
progress "partial $unfinished"

progress "stage saving"
progress "total $needed"
# tar's number and status go to files of a private directory, since only the
# last process of a pipeline is the shell's to wait for.
private=$(mktemp -d) || fail "cannot create a temporary directory"
# shellcheck disable=SC2086 # the member list is split on purpose
(
    tar -C / -czf - $members &
    echo $! >"$private/tar.pid"
    wait $!
    echo $? >"$private/tar.status"
) | copy_flushed "$unfinished" &
worker=$!
report_reads "$worker" "$needed" "$private/tar.pid"
wait "$worker" && [ "$(cat "$private/tar.status")" = 0 ] || fail "writing $archive failed"
rm -rf "$private"
private=
progress "done $needed"
sync "$unfinished" || fail "writing $archive failed"

# O_DIRECT reads what the drive holds. A file system that refuses it gets the
# file's clean pages dropped first (GNU dd's nocache, else the kernel's whole
# clean cache), so that reading goes to the drive all the same. A failing dd
# leaves gzip a truncated stream, which it rejects.
size=$(stat -c %s "$unfinished")
progress "stage checking"
progress "total $size"
if dd if="$unfinished" of=/dev/null iflag=direct count=0 2>/dev/null; then
    direct=iflag=direct
else
    direct=
    dd if="$unfinished" of=/dev/null iflag=nocache count=0 2>/dev/null ||
        { echo 1 >/proc/sys/vm/drop_caches; } 2>/dev/null ||
        echo "$0: $unfinished may be read back from the cache" >&2
fi
# shellcheck disable=SC2086 # no word when empty
dd if="$unfinished" $direct bs=1M 2>/dev/null | gzip -t 2>/dev/null &
worker=$!
report_reads "$worker" "$size"
wait "$worker" || fail "read-back failed: $archive"
progress "done $size"

# mv -n -T renames without replacing (renameat2 RENAME_NOREPLACE with GNU
# mv) and never moves into a directory; a rename that did not happen leaves
# the temporary file in place.
mv -n -T "$unfinished" "$archive" 2>/dev/null
if [ -e "$unfinished" ] || [ -L "$unfinished" ]; then
    if [ -e "$archive" ] || [ -L "$archive" ]; then
        fail "archive exists: $archive"
    fi
    fail "cannot rename $unfinished to $archive"
fi
if [ ! -f "$archive" ] || [ -L "$archive" ]; then
    fail "cannot rename to $archive"
fi
unfinished=$archive
sync -f "$target" || fail "writing $archive failed"
unfinished=
echo "$0: saved$members into $archive"
