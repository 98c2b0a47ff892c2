#!/bin/sh
# The archive holds the listed directories, a failure leaves nothing; scratch/bin/tar runs $TAR_FAULT instead.
. "$(dirname "$0")/testlib.sh"
data=$scratch/data drive=$scratch/drive
mkdir -p "$data/settings/network" "$data/logs" "$drive" "$scratch/restored" "$scratch/bin"
echo dhcp=yes >"$data/settings/network/eth0" && seq 5000 >"$data/logs/samples"
printf '#!/bin/sh\nreal=%s\n[ "$3" = -czf ] && [ -n "${TAR_FAULT:-}" ] || exec "$real" "$@"\neval "$TAR_FAULT"\n' \
    "$(command -v tar)" >"$scratch/bin/tar" && chmod +x "$scratch/bin/tar" && PATH=$scratch/bin:$PATH
BACKUP_DIRS="$data/settings $scratch/missing $data/logs" "$1/emergency-backup.sh" "$drive" || fail "backup failed"
archive=$(cd "$drive" && ls backup-[0-9]*[0-9]-[0-9]*[0-9].tar.gz) || fail "no archive"
tar -C "$scratch/restored" -xzf "$drive/$archive" && rm "$drive/$archive"
diff -r "$data" "$scratch/restored$data" || fail "restored data differs"
while IFS='|' read -r what message dirs fault; do
    if TAR_FAULT=$fault BACKUP_DIRS=$dirs "$1/emergency-backup.sh" "$drive" 2>"$scratch/log"; then fail "$what: succeeded"; fi
    grep -q "$message" "$scratch/log" || fail "$what: $(cat "$scratch/log")"
    [ -z "$(ls -A "$drive")" ] || fail "$what: left $(ls -A "$drive")"
done <<CASES
only missing directories|nothing to back up|$scratch/missing|
tar fails|writing .* failed|$data|echo partial >"\$4"; exit 2
truncated archive|does not read back|$data|"\$real" "\$@" && truncate -s 100 "\$4"
CASES
