#!/bin/sh
# mount-extdisk.sh's drive search on a fake sysfs tree; the fake mount records each call and accepts only $ACCEPT.
. "$(dirname "$0")/testlib.sh"
sys=$scratch/sys mountpoint=$scratch/mnt/extdisk
mkdir -p "$sys/block" "$scratch/bin"
printf '#!/bin/sh\necho "$2:$3@$4" >>"$CALLS"\n[ "$2:$3" = "$ACCEPT" ]\n' >"$scratch/bin/mount" && chmod +x "$scratch/bin/mount"
add_disk() { # name, path below devices/, removable, size, partition numbers
    disk=$sys/devices/$2/block/$1 name=$1 && mkdir -p "$disk" && ln -s "../devices/$2/block/$1" "$sys/block/$1"
    echo "$3" >"$disk/removable" && echo "$4" >"$disk/size" && shift 4
    for number; do mkdir "$disk/$name$number" && echo "$number" >"$disk/$name$number/partition"; done
}
add_disk sda soc/usb1/1-1/host0 0 2000 1
add_disk sdb pci0000:00/ata2/host1 1 2000 1
add_disk sdc soc/usb1/1-2/host2 1 0
add_disk sdd soc/usb1/1-3/host3 1 2000 3 10 2
add_disk sde soc/usb2/2-1/host4 1 2000
while IFS='|' read -r accept status tried; do
    : >"$scratch/calls"
    CALLS=$scratch/calls ACCEPT=$accept EXTDISK_SYSFS=$sys PATH="$scratch/bin:$PATH" \
        "$1/mount-extdisk.sh" "$mountpoint" 2>/dev/null && result=0 || result=$?
    calls=$(sed "s|@$mountpoint\$||" "$scratch/calls" | tr '\n' ' ')
    [ "$result $calls" = "$status $tried " ] || fail "accepting '$accept': status $result, mounts: $calls"
done <<CASES
ext4:/dev/sdd2|0|vfat:/dev/sdd2 exfat:/dev/sdd2 ext4:/dev/sdd2
|1|vfat:/dev/sdd2 exfat:/dev/sdd2 ext4:/dev/sdd2 vfat:/dev/sde exfat:/dev/sde ext4:/dev/sde
CASES
