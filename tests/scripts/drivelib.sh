# Sourced by the backup script's tests, whose argument is the scripts' directory. Needs unshare
# (util-linux) and, with LIFEBOAT_TEST_BUSYBOX set, busybox; exits with 77 without them.
# Re-runs the test in a private mount namespace (a user namespace too when not root), so that
# the drives it mounts vanish with it, then gives testlib.sh's scratch directory and:
#   $backup ARGS     runs emergency-backup.sh with sh and the host's tools, or with busybox's
#                    sh and applets alone when LIFEBOAT_TEST_BUSYBOX is set (a program, so that
#                    timeout and setsid can run it);
#   mount_drive DIR KB [OPTION]   mounts a fresh tmpfs of KB KiB at DIR, the stand-in drive
#                    ($mounts lists the mount points, which are unmounted on exit);
#   last_error LOG   the last line of standard error a run left in LOG, without the "$0: ".
skip() { echo "SKIPPED: $*"; exit 77; }
if [ -z "${DRIVELIB_PRIVATE_MOUNTS:-}" ]; then
    if [ "$(id -u)" = 0 ]; then namespace=-m; else namespace=-rm; fi
    unshare "$namespace" true 2>/dev/null || skip "no private mount namespace (unshare $namespace)"
    DRIVELIB_PRIVATE_MOUNTS=1 exec unshare "$namespace" sh "$0" "$@"
fi
. "$(dirname "$0")/testlib.sh"
script=$1/emergency-backup.sh
if [ -n "${LIFEBOAT_TEST_BUSYBOX:-}" ]; then
    busybox=$(command -v busybox) || skip "no busybox (apt-get install busybox-static)"
    backup_path=$scratch/busybox backup_sh=$scratch/busybox/sh
    mkdir "$backup_path" && "$busybox" --install -s "$backup_path"
else
    backup_path=$PATH backup_sh=$(command -v sh)
fi
backup=$scratch/backup
printf '#!/bin/sh\nexec env PATH="%s" "%s" "%s" "$@"\n' "$backup_path" "$backup_sh" "$script" >"$backup"
chmod +x "$backup"
# Mount points, last first: the namespace would drop the mounts, but the scratch directory goes before.
mounts=
cleanup_hook() { for mount in $mounts; do umount "$mount" || umount -l "$mount"; done; }
mount_drive() { mkdir -p "$1" && mount -t tmpfs -o "size=$2k${3:+,$3}" drive "$1" && mounts="$1 $mounts"; }
last_error() { tail -n 1 "$1" | sed "s|^$script: ||"; }
# await_line PATTERN FILE: waits up to 20 s for a line matching PATTERN in FILE.
await_line() {
    tries=400
    until grep -q "$1" "$2"; do
        tries=$((tries - 1)) && [ $tries -gt 0 ] || fail "no line $1 in $2"
        sleep 0.05
    done
}
# expect_failure WHAT REASON ARGS...: the backup with ARGS exits with 1, and the last line of
# its standard error (in $scratch/log) matches the pattern REASON.
expect_failure() {
    what=$1 reason=$2 && shift 2
    status=0 && timeout 60 "$backup" "$@" 2>"$scratch/log" 3>"$scratch/progress" || status=$?
    [ $status = 1 ] || fail "$what: status $status: $(cat "$scratch/log")"
    # shellcheck disable=SC2254 # the reason is a pattern
    case $(last_error "$scratch/log") in $reason) ;; *) fail "$what: $(cat "$scratch/log")" ;; esac
}
