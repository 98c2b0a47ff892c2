#!/bin/sh
# Usage: make-initramfs.sh PROGRAM BOOTROM_VERSION OUTPUT
# Builds the board's initramfs: static busybox, the kernel modules the board
# needs, the guest's init and agent, and the shared libraries PROGRAM (an
# armhf executable) loads, taken from the armhf sysroot.
# Needs: busybox-static unpacked into $BOARD_ROOT, the kernel's modules in
# $BOARD_MODULES (both done by run-board.sh), the sysroot of
# tools/cross/make-sysroot.sh in $OKU_SYSROOT, arm-linux-gnueabihf-readelf,
# cpio, gzip.
# Leaves: OUTPUT, a gzipped newc archive; a work tree beside it (OUTPUT.d).
set -eu
[ $# -eq 3 ] || { echo "usage: $0 PROGRAM BOOTROM_VERSION OUTPUT" >&2; exit 2; }
program=$1
bootrom=$2
output=$3
here=$(cd "$(dirname "$0")" && pwd)
tree=$output.d
moddir=$BOARD_MODULES

rm -rf "$tree"
mkdir -p "$tree/bin" "$tree/etc" "$tree/lib/modules" "$tree/proc" "$tree/sys" "$tree/dev"
cp "$BOARD_ROOT/bin/busybox" "$tree/bin/"
cp "$here/guest/init" "$tree/init"
cp "$here/guest/agent.sh" "$tree/etc/"
cp "$here/../memory-breakdown.sh" "$tree/etc/"
echo "$bootrom" >"$tree/etc/bootrom_version.txt"

# Modules in load order, each after those it depends on (the depends= field
# of its .modinfo section), a line each.
loaded=" "
add_module() {
    # It calls itself: its variables must be its own (dash has local).
    # shellcheck disable=SC3043
    local name file dependency
    name=$(echo "$1" | tr - _)
    case $loaded in *" $name "*) return ;; esac
    loaded="$loaded$name "
    # Module names write - and _ alike; file names may use either.
    file=$(find "$moddir" -name "$(echo "$name" | sed 's/_/[-_]/g').ko" | head -n 1)
    [ -n "$file" ] || { echo "$0: no module $1" >&2; exit 1; }
    for dependency in $(tr '\0' '\n' <"$file" | sed -n 's/^depends=//p' | tr , ' '); do
        add_module "$dependency"
    done
    mkdir -p "$tree/lib/modules/$(dirname "${file#"$moddir"/}")"
    cp "$file" "$tree/lib/modules/${file#"$moddir"/}"
    echo "${file#"$moddir"/}" >>"$tree/lib/modules/load-order"
}
# virtio transport and consoles, GPU (fb0), 9p, USB mass storage, FAT, and
# the input devices' event nodes: the virtio keyboard and tablet, and a USB
# keyboard plugged in while the program runs.
for module in virtio_mmio virtio_console virtio-gpu 9pnet_virtio 9p xhci-pci \
    crct10dif_generic crc64_rocksoft_generic usb-storage sd_mod vfat nls_cp437 nls_ascii \
    nls_utf8 nls_iso8859-1 evdev virtio_input usbhid hid-generic; do
    add_module "$module"
done

# The program's shared libraries, found by following DT_NEEDED through the
# sysroot, and the dynamic loader.
libdir=$tree/lib/arm-linux-gnueabihf
mkdir -p "$libdir"
needed() { arm-linux-gnueabihf-readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
pending=$(needed "$program")
while [ -n "$pending" ]; do
    set -- $pending
    pending=
    for library in "$@"; do
        [ -e "$libdir/$library" ] && continue
        found=
        for dir in lib/arm-linux-gnueabihf usr/lib/arm-linux-gnueabihf; do
            [ -e "$OKU_SYSROOT/$dir/$library" ] && found=$OKU_SYSROOT/$dir/$library && break
        done
        [ -n "$found" ] || { echo "$0: $library is not in $OKU_SYSROOT" >&2; exit 1; }
        cp -L "$found" "$libdir/$library"
        pending="$pending $(needed "$libdir/$library")"
    done
done
ln -sf arm-linux-gnueabihf/ld-linux-armhf.so.3 "$tree/lib/ld-linux-armhf.so.3"
[ -e "$libdir/ld-linux-armhf.so.3" ] ||
    cp -L "$OKU_SYSROOT/lib/arm-linux-gnueabihf/ld-linux-armhf.so.3" "$libdir/"

(cd "$tree" && find . | cpio -o -H newc --quiet | gzip -1) >"$output"
