#!/bin/sh
# Entries planted on the drive are never followed, opened or replaced, and SIGTERM mid-run leaves nothing behind.
. "$(dirname "$0")/drivelib.sh"
data=$scratch/data drive=$scratch/drive outside=$scratch/outside
mkdir -p "$data" "$outside/dir" && echo precious >"$outside/file"
head -c 32000000 /dev/urandom >"$data/noise"
mount_drive "$drive" 65536
export BACKUP_DIRS="$data" LIFEBOAT_PROGRESS_FD=3

plant() { # kind, paths
    kind=$1 && shift
    for path; do
        case $kind in
            file-link) ln -s "$outside/file" "$path" ;;
            directory-link) ln -s "$outside/dir" "$path" ;;
            fifo) mkfifo "$path" ;;
            directory) mkdir "$path" ;;
        esac
    done
    planted=$(stat -c %F "$@")
}
# The names a run starting now may choose, with SUFFIX.
names_around_now() {
    now=$(date +%s)
    for second in $(seq $((now - 1)) $((now + 10))); do
        echo "$drive/backup-$(date -d "@$second" +%Y%m%d-%H%M%S).tar.gz$1"
    done
}
# what, the planted names, how many archives are expected beside them
check_drive() {
    [ "$(cat "$outside/file")" = precious ] && [ -z "$(ls -A "$outside/dir")" ] || fail "$1: wrote outside the drive"
    # shellcheck disable=SC2086 # one name a word
    [ "$(stat -c %F $2)" = "$planted" ] || fail "$1: planted entries changed"
    [ "$(ls -A "$drive" | wc -l)" = $(($(echo "$2" | wc -l) + $3)) ] || fail "$1: left $(ls -A "$drive")"
    rm -rf "${drive:?}"/*
}

for kind in file-link directory-link fifo directory; do
    # The old temporary name is planted: the backup is made beside it.
    names=$(names_around_now .partial)
    # shellcheck disable=SC2086 # one name a word
    plant "$kind" $names
    timeout 60 "$backup" "$drive" 2>"$scratch/log" 3>"$scratch/progress" || fail "$kind at the temporary name: $(cat "$scratch/log")"
    check_drive "$kind at the temporary name" "$names" 1

    names=$(names_around_now "")
    # shellcheck disable=SC2086 # one name a word
    plant "$kind" $names
    expect_failure "$kind at the final name" "archive exists: $drive/backup-*.tar.gz" "$drive"
    [ ! -s "$scratch/progress" ] || fail "$kind at the final name: saved all the same"
    check_drive "$kind at the final name" "$names" 0

    # Appearing while the archive is written: the rename must not replace it nor move into it.
    : >"$scratch/progress"
    timeout 60 "$backup" "$drive" 2>"$scratch/log" 3>"$scratch/progress" &
    await_line '^partial ' "$scratch/progress"
    name=$(sed -n 's/^partial \(.*\)\.[^.]*$/\1/p' "$scratch/progress")
    plant "$kind" "$name"
    status=0 && wait $! || status=$?
    [ $status = 1 ] && [ "$(last_error "$scratch/log")" = "archive exists: $name" ] ||
        fail "$kind appearing at the final name: status $status, $(cat "$scratch/log")"
    check_drive "$kind appearing at the final name" "$name" 0
done

# The script's own process group, as the program starts it.
: >"$scratch/progress"
setsid "$backup" "$drive" 2>"$scratch/log" 3>"$scratch/progress" &
group=$!
await_line '^stage saving' "$scratch/progress"
start=$(date +%s%N) && kill -TERM -$group
status=0 && wait $group || status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
[ $status = 1 ] && [ $elapsed_ms -lt 2000 ] || fail "TERM: status $status after $elapsed_ms ms"
sleep 0.2
running=$(ps -eo pgid=,stat=,args= | awk -v group=$group '$1 == group && $2 !~ /^Z/')
[ -z "$running" ] || fail "TERM: left running: $running"
[ -z "$(ls -A "$drive")" ] || fail "TERM: left $(ls -A "$drive")"
