#!/bin/sh
# emergency-backup.sh TARGETDIR
#
# Saves the device's data onto the USB drive mounted at TARGETDIR as one
# archive, backup-YYYYmmdd-HHMMSS.tar.gz, holding each saved directory under
# its full path ("tar -C / -xzf ARCHIVE" puts everything back in place).
#
#   BACKUP_DIRS  the directories to save, absolute and separated by blanks.
#                Default "/etc /var/lib /home /root": the settings, the state
#                the device's programs keep (touch calibration among it) and
#                the users' files. Directories that do not exist are skipped
#                with a message; when none is left (an empty list included)
#                the backup fails.
#
# An archive under the final name is always complete: it is written under a
# temporary name beside it, flushed to the drive, read back in full and only
# then renamed. On any failure, and on SIGHUP, SIGINT or SIGTERM, the
# temporary file is removed.
#
# Exit status: 0 the archive is on the drive; 1 it is not; 2 wrong usage.
set -u
# The directory list is split on blanks, never expanded as a pattern.
set -f

fail() {
    echo "$0: $*" >&2
    exit 1
}

if [ $# -ne 1 ]; then
    echo "usage: $0 TARGETDIR" >&2
    exit 2
fi
target=$1
[ -d "$target" ] || fail "$target is no directory"
[ -w "$target" ] || fail "$target is not writable"

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

archive=$target/backup-$(date +%Y%m%d-%H%M%S).tar.gz
[ ! -e "$archive" ] || fail "$archive exists already"
partial=$archive.partial
trap 'rm -f "$partial"' EXIT
trap 'exit 1' HUP INT TERM

# shellcheck disable=SC2086 # the member list is split on purpose
tar -C / -czf "$partial" $members || fail "writing $partial failed"
sync
tar -tzf "$partial" >/dev/null || fail "$partial does not read back"
mv "$partial" "$archive" || fail "cannot rename $partial to $archive"
sync
echo "$0: saved$members into $archive"
