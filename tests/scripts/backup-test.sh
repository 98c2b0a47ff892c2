#!/bin/sh
# The archive restores to the saved data while progress is reported; refusals and failures give their reasons and leave nothing.
. "$(dirname "$0")/drivelib.sh"
data=$scratch/data drive=$scratch/drive small=$scratch/small-files
mkdir -p "$data/settings/network" "$data/logs" "$scratch/restored" "$scratch/plain" "$small"
echo dhcp=yes >"$data/settings/network/eth0" && seq 5000 >"$data/logs/samples"
# Big enough that tar still runs when the second progress sample is taken.
head -c 96000000 /dev/urandom >"$data/logs/noise"
head -c 4096000 /dev/urandom | split -a 3 -b 4096 - "$small/"
# Blocks allocated at write-back would change what du finds between two looks.
sync
mount_drive "$drive" 131072
export LIFEBOAT_PROGRESS_FD=3

BACKUP_DIRS="$data/settings $scratch/missing $data/logs" timeout 60 "$backup" "$drive" 3>"$scratch/progress" ||
    fail "backup failed"
archive=$(cd "$drive" && ls) && [ -z "${archive%%backup-[0-9]*[0-9]-[0-9]*[0-9].tar.gz}" ] || fail "drive holds $archive"
tar -C "$scratch/restored" -xzf "$drive/$archive"
diff -r "$data" "$scratch/restored$data" || fail "restored data differs"

# Each stage gives its total, then done grows to it; while saving, one sample is taken mid-way.
needed=$(du -sk "$data/settings" "$data/logs" | awk '{ kb += $1 } END { print kb * 1024 }')
awk -v partial="partial $drive/$archive." -v expected="$needed $(stat -c %s "$drive/$archive") " '
    NR == 1 && index($0, partial) != 1 { print "first line: " $0 }
    $1 == "stage" { if (stages) ends = ends done " "; stages = stages $2 " "; done = 0 }
    $1 == "total" { total = $2; totals = totals $2 " " }
    $1 == "done" {
        if ($2 < done || $2 > total) print "done " $2 " after " done " of " total
        if (stages == "saving " && $2 > 1000000 && $2 < total) midway = 1
        done = $2
    }
    END {
        ends = ends done " "
        if (stages != "saving checking ") print "stages: " stages
        if (totals != expected || ends != expected) print "totals " totals "and ends " ends "instead of " expected
        if (!midway) print "no sample while saving"
    }' "$scratch/progress" >"$scratch/problems"
[ ! -s "$scratch/problems" ] || fail "progress: $(cat "$scratch/problems") in: $(cat "$scratch/progress")"
rm "$drive/$archive"

# Refused before anything is written, so no progress either.
expect_refusal() {
    expect_failure "$@"
    [ ! -s "$scratch/progress" ] || fail "$1: began with $(cat "$scratch/progress")"
}
for target in "$scratch/plain" "$scratch/missing"; do
    BACKUP_DIRS=$data/settings expect_refusal "target $target" "not mounted: $target" "$target"
done
BACKUP_DIRS=$scratch/missing expect_refusal "only missing directories" "nothing to back up" "$drive"
mount_drive "$scratch/read-only" 1024 ro
BACKUP_DIRS=$data/settings expect_refusal "read-only drive" "read-only: $scratch/read-only" "$scratch/read-only"
mount_drive "$scratch/full" 1024
needed=$(du -sk "$data" | awk '{ print $1 * 1024 }')
BACKUP_DIRS=$data expect_refusal "full drive" "no space: 1048576 bytes free, $needed bytes needed" "$scratch/full"
for target in "$scratch/plain" "$drive" "$scratch/full"; do
    [ -z "$(ls -A "$target")" ] || fail "a refusal left $(ls -A "$target") in $target"
done

# du counts a small file's block but not its tar header: the free space passes, writing fails.
mount_drive "$scratch/tight" "$(du -sk "$small" | cut -f 1)"
BACKUP_DIRS=$small expect_failure "drive full while writing" "writing $scratch/tight/backup-*.tar.gz failed" "$scratch/tight"
[ -z "$(ls -A "$scratch/tight")" ] || fail "a failed backup left $(ls -A "$scratch/tight")"
