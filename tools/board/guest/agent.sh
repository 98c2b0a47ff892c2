# The board's agent, on its own virtio console: runs each line the host
# sends as a shell command, prints its output and then "@@done STATUS". A
# program started with start_program is the device's lifeboat, run as the
# device's start-up runs it; when it ends, "@@exit PID STATUS" comes out at
# once, whatever else is going on. The words of program_settings
# (NAME=VALUE, set by the host before each start) go into its environment.
stty raw -echo
exec 3>&1

export KARO_LIFEBOAT=/usr/lib/lifeboat
export OKU_TSDEV=/dev/ttyAMA0
log=/board/lifeboat.log
# Files of this agent's own: the tests run several agents side by side.
out=/tmp/agent-$$.out
pidfile=/tmp/lifeboat-$$.pid
program_settings=
# A directory the device's backup saves (its default list holds /root).
backup_data_dir=/root
# Where the kernel's devices are seen (the tests point it at a tree of their own).
sysfs=/sys

# Like the device at power-up, the program starts on a black screen.
start_program() {
    cat /dev/zero >/dev/fb0 2>/dev/null
    rm -f "$pidfile"
    (
        # shellcheck disable=SC2086 # the settings are a list of words
        env $program_settings "$KARO_LIFEBOAT/bin/lifeboat" "$@" >>"$log" 2>&1 </dev/null &
        echo $! >"$pidfile"
        wait $!
        echo "@@exit $! $?" >&3
    ) &
    until [ -s "$pidfile" ]; do
        usleep 10000
    done
    cat "$pidfile"
}

# The display as the device's application or the console blanker may leave
# it: the framebuffer blanked, every backlight off. Fails when fb0 cannot be
# blanked, so that no check of the program's wake-up passes on a display that
# was never dark.
darken_display() {
    echo 1 >"$sysfs/class/graphics/fb0/blank" || return 1
    for light in "$sysfs"/class/backlight/*; do
        [ -e "$light/brightness" ] || continue
        [ ! -e "$light/bl_power" ] || echo 4 >"$light/bl_power"
        echo 0 >"$light/brightness"
    done
}

stop_program() {
    kill -9 "$1" 2>/dev/null
    while kill -0 "$1" 2>/dev/null; do
        usleep 10000
    done
}

# What the device's factory reset clears: calibration, state and user data.
reset_storage() {
    rm -rf /var/lib/* /home/* /root/*
}

# Puts $1 megabytes of random data, which no compression shrinks, where the
# backup finds it, in place of what an earlier call put there.
backup_data() {
    dd if=/dev/urandom of="$backup_data_dir/bulk.bin" bs=1048576 count="$1" iflag=fullblock \
        2>/dev/null
}

# A device as it leaves the factory, with nothing mounted.
reset_device() {
    # A backup the last program left running (its script leads a process
    # group of its own) may still hold the drive: it is detached all the same.
    umount /mnt/extdisk 2>/dev/null || umount -l /mnt/extdisk 2>/dev/null
    reset_storage
    : >"$log"
}

# Waits at most 60 s until the kernel has found a USB disk (present) or
# has none (absent), as a person waits for the stick to be recognised.
wait_for_drive() {
    for _ in $(seq 600); do
        found=absent
        for disk in /sys/block/sd*; do
            [ -e "$disk" ] && found=present
        done
        [ "$found" = "$1" ] && return 0
        usleep 100000
    done
    return 1
}

is_mounted() {
    grep -q " $1 " /proc/mounts
}

# The arguments that name existing files: patterns that matched nothing
# come through unexpanded.
find_files() {
    for file in "$@"; do
        [ -e "$file" ] && echo "$file"
    done
    return 0
}

# The event node of the input device of that name (as its driver calls it).
input_device() {
    for device in /sys/class/input/event*; do
        [ "$(cat "$device/device/name" 2>/dev/null)" = "$1" ] && echo "/dev/input/${device##*/}"
    done
    return 0
}

# Waits at most 60 s until the input device of that name has an event node
# (present) or has none (absent), as a person waits for a keyboard to be
# recognised.
wait_for_input() {
    for _ in $(seq 600); do
        node=$(input_device "$2")
        case $1 in
        present) [ -n "$node" ] && [ -e "$node" ] && return 0 ;;
        absent) [ -z "$node" ] && return 0 ;;
        esac
        usleep 100000
    done
    return 1
}

# Waits at most 60 s until the program PID reads the input device of that
# name (has its event node open), or has ended.
wait_for_reader() {
    node=$(input_device "$2")
    for _ in $(seq 600); do
        [ -d "/proc/$1" ] || return 0
        [ -n "$node" ] && ls -l "/proc/$1/fd" 2>/dev/null | grep -q " $node\$" && return 0
        usleep 100000
    done
    return 1
}

while IFS= read -r line; do
    eval "$line" >"$out" 2>&1
    status=$?
    cat "$out"
    echo "@@done $status"
done
