#!/bin/sh
# Usage: run-board.sh [--interactive]
# Boots an emulated ARM board (QEMU virt, Cortex-A15, no KVM) with Debian's
# armmp kernel and a busybox initramfs, runs the cross-built lifeboat on it as
# the device does (800x480x32 virtio GPU on /dev/fb0, a PenMount PM9000 on
# the UART /dev/ttyAMA0, a USB stick on xHCI, a virtio keyboard and tablet)
# and works it with the device simulator's scenarios (tests/sim) and its own
# (tools/board/scenarios: the keyboard alone on a dead panel, the tablet as
# the touch panel), each with the device options its "# device:" line names
# (a portrait panel, for one). The calibration runs
# again asking for page flipping (OKU_FBFLIP: the GPU's framebuffer emulation
# has no room for two frames, so the program must fall back to direct output)
# and some scenarios on the GPU's DRM device (OKU_DRMDEV), which flips pages. Every screenshot
# is compared with the host simulator's, the DRM run's first page with the
# framebuffer run's, and start-up time, memory and program size are printed.
# --interactive only boots the board with lifeboat: its screen in a window
# when there is a display, the simulator's commands on standard input (tap X
# Y, usb insert, key tab, screenshot FILE, ...), the board's (tablet tap X Y)
# and the guest's shell on a
# pseudo-terminal whose name QEMU prints.
# Needs: Debian 12 with qemu-system-arm, crossbuild-essential-armhf,
# qemu-user-static, cpio, mtools and dosfstools (installed or brought up to
# date), the build's own packages (tools/setup.sh) and access to the Debian
# mirror.
# Leaves: kernel and busybox in ${OKU_CACHE_DIR:-$HOME/.cache/oku}/board,
# the armhf sysroot beside it, the packages in build-armhf/debs (lifeboat's
# installed into build-board/board-root), the simulator in build/, and the run
# (screenshots, logs, console, drive image) in build-board/board-run/. Exits non-zero when anything failed.
set -eu
# mtools reads the drive image without checking its geometry.
export MTOOLS_SKIP_CHECK=1
top=$(cd "$(dirname "$0")/../.." && pwd)
cache=${OKU_CACHE_DIR:-$HOME/.cache/oku}
run=$top/build-board/board-run
interactive=
case ${1:-} in
    --interactive) interactive=1 ;;
    "") ;;
    *) echo "usage: $0 [--interactive]" >&2; exit 2 ;;
esac
# The simulator writes this into the device's boot ROM version file; the
# board says the same, so that its screens compare pixel for pixel.
bootrom="2.1.0 Simulator"

step() { echo "== $*"; }

step "packages"
"$top/tools/install-packages.sh" qemu-system-arm crossbuild-essential-armhf qemu-user-static \
    cpio mtools dosfstools

step "kernel and busybox"
export BOARD_ROOT=$cache/board
"$top/tools/cross/fetch-armhf-packages.sh" "$BOARD_ROOT" linux-image-armmp busybox-static
kernel=$(ls "$BOARD_ROOT"/boot/vmlinuz-*-armmp | sort -V | tail -n 1)
export BOARD_MODULES=$BOARD_ROOT/lib/modules/${kernel##*/vmlinuz-}

# The simulator comes from the host tree of setup.sh; each tree is
# configured here only when it is not there yet.
step "cross build"
"$top/tools/cross/make-sysroot.sh" --no-simulator >/dev/null
export OKU_SYSROOT=$cache/sysroot-armhf
# The program reaches the board as it reaches a device: as the lifeboat
# package of a cross build configured for Debian packages, installed with
# dpkg into the board's root, whose /usr/lib/lifeboat the guest mounts. The
# cross build is the armhf suite's (OKU_BOARD_CROSS_BUILD, by default
# build-armhf), configured here without tests when that suite has not run.
# The guest's libraries come with the initramfs, not from packages, so dpkg
# is told not to look for them.
cross=${OKU_BOARD_CROSS_BUILD:-$top/build-armhf}
[ -e "$cross/CMakeCache.txt" ] ||
    cmake -S "$top" -B "$cross" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-armhf.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DOKU_BUILD_BENCH=OFF -DOKU_BUILD_TESTS=OFF \
        -DOKU_DEBIAN_PACKAGES=ON -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$cross" -j2 >/dev/null
cmake --build "$cross" --target debs >/dev/null
rm -rf "$run"
mkdir -p "$run/screenshots"
root=$top/build-board/board-root
rm -rf "$root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
: >"$root/var/lib/dpkg/status"
dpkg --root="$root" --add-architecture armhf
dpkg --root="$root" --force-not-root --force-depends -i "$cross"/debs/lifeboat_*_armhf.deb >/dev/null
dpkg --root="$root" -s lifeboat | grep -q '^Status: install ok installed$'
install=$root/usr/lib/lifeboat

step "host build"
host=$top/build
[ -e "$host/CMakeCache.txt" ] || cmake -S "$top" -B "$host" >/dev/null
cmake --build "$host" -j2 --target lifeboat lifeboat-sim lifeboat-board screen-diff >/dev/null
board_tool=$host/tools/board/lifeboat-board

step "initramfs"
"$top/tools/board/make-initramfs.sh" "$install/bin/lifeboat" "$bootrom" "$run/initramfs.gz"

step "boot"
display="-display none"
console="-chardev file,id=console,path=$run/console.log"
if [ -n "$interactive" ]; then
    console="-chardev pty,id=console"
    [ -z "${DISPLAY:-}" ] || display="-display gtk"
fi
# armmp has no LPAE: the PCIe window (for xHCI) must stay below 4 GiB. The
# GPU and consoles sit on virtio-mmio, which must speak virtio 1.0 for the
# GPU. The UART is wired to the touch controller's socket. The virtio
# keyboard and tablet are typed and touched through QMP's input-send-event.
# shellcheck disable=SC2086 # display and console are lists of words
qemu-system-arm -M virt,highmem=off -cpu cortex-a15 -smp 2 -m 512 -nodefaults $display \
    -kernel "$kernel" -initrd "$run/initramfs.gz" -append "console=hvc0 quiet" \
    -global virtio-mmio.force-legacy=false \
    -device virtio-gpu-device,xres=800,yres=480 \
    -chardev socket,id=touch,path="$run/touch.sock",server=on,wait=off -serial chardev:touch \
    -device virtio-serial-device \
    $console -device virtconsole,chardev=console \
    -chardev socket,id=agent,path="$run/agent.sock",server=on,wait=off \
    -device virtconsole,chardev=agent \
    -fsdev local,id=lifeboat,path="$install",security_model=none,readonly=on \
    -device virtio-9p-device,fsdev=lifeboat,mount_tag=lifeboat \
    -fsdev local,id=board,path="$run",security_model=none \
    -device virtio-9p-device,fsdev=board,mount_tag=board \
    -device qemu-xhci,id=xhci \
    -device virtio-keyboard-device -device virtio-tablet-device \
    -qmp unix:"$run/qmp.sock",server=on,wait=off &
qemu=$!
trap 'kill $qemu 2>/dev/null; wait $qemu 2>/dev/null' EXIT INT TERM

if [ -n "$interactive" ]; then
    "$board_tool" --board "$run" --reset
    exit
fi

failures=0
results=$run/results.txt
: >"$results"
pass() { echo "pass  $*" | tee -a "$results"; }
fail() {
    echo "FAIL  $*" | tee -a "$results"
    failures=$((failures + 1))
}
# scenario FILE [OPTIONS]: runs a scenario (one of the simulator's, or one of
# the board's own in tools/board/scenarios) on the board; its screenshots go
# to $run/screenshots$variant, its log to $run/NAME$variant.log and what the
# program printed to $run/NAME$variant.program.log (the next new device
# clears lifeboat.log).
variant=
scenario() {
    file=$1
    name=$(basename "$file" .txt)
    shift
    device=$(sed -n 's/^# device: //p' "$file")
    log=$run/$name$variant.log
    mkdir -p "$run/screenshots$variant"
    # shellcheck disable=SC2086 # the device options are a list of words
    if (cd "$run/screenshots$variant" &&
        "$board_tool" --board "$run" $device "$@" "$file" >"$log" 2>&1); then
        pass "$name$variant"
    else
        fail "$name$variant: $(grep -E '^(fail|error)' "$log" | head -n 1)"
    fi
    cp "$run/lifeboat.log" "$run/$name$variant.program.log" 2>/dev/null || :
}

# The backup's archive on the drive, read back on this side.
check_archive() {
    archive=$(mdir -b -i "$run/usb.img" ::/ | grep 'backup-.*\.tar\.gz$' | head -n 1)
    if [ -n "$archive" ] && mtype -i "$run/usb.img" "$archive" | tar -tzf - |
        grep -q '^\./var/lib/oku-tscal\.dat$'; then
        pass "backup archive ${archive#::/} holds the calibration"
    else
        fail "backup archive missing or without the calibration"
    fi
}

step "scenarios on the board"
started=$(date +%s)
sim=$top/tests/sim
scenario "$sim/calibration.txt" --reset
# The device is calibrated now: its start to the first full page.
"$board_tool" --board "$run" --measure >"$run/measure.log" 2>&1 || fail "measure"
mv "$run/first-page.png" "$run/first-page-fb.png" 2>/dev/null || fail "no first page"
# Again with the kernel mapping only the page each fault asks for, not the
# 64 kB of library pages around it that are in the page cache anyway: the
# memory the program itself touches.
"$board_tool" --board "$run" --measure --fault-around 4096 >"$run/measure-touched.log" 2>&1 ||
    fail "measure with fault-around at one page"
rm -f "$run/first-page.png"
for file in "$sim"/*.txt; do
    name=$(basename "$file" .txt)
    case $name in calibration | CMakeLists) continue ;; esac
    scenario "$file" --reset
    [ "$name" != backup ] || check_archive
done

# Flipping asked for on a framebuffer without room for a second frame; the
# default runs before never pan, so they come first.
variant=-flip
scenario "$sim/calibration.txt" --reset --flip

# The same pages on the DRM device, calibrated first.
variant=-drm
drm=/dev/dri/card0
if grep -q OKU_DRMDEV "$install/bin/lifeboat"; then
    scenario "$sim/calibration.txt" --reset --drm "$drm"
    "$board_tool" --board "$run" --drm "$drm" --measure >"$run/measure-drm.log" 2>&1 ||
        fail "measure on $drm"
    if difference=$("$host/tools/board/screen-diff" "$run/first-page-fb.png" \
        "$run/first-page.png"); then
        pass "first page on $drm identical to the framebuffer's"
    else
        fail "first page on $drm: $difference"
    fi
else
    fail "the program has no DRM back end (OKU_DRMDEV)"
fi
# The board's own inputs: its virtio keyboard from power-on on a device whose
# panel is dead, and its virtio tablet as the touch panel. Their screenshots
# must equal the simulator's of the same name too.
variant=-board
for file in "$top"/tools/board/scenarios/*.txt; do
    scenario "$file" --reset
done
echo "scenarios took $(($(date +%s) - started)) s"

step "screens against the simulator's"
# The simulator's screenshots of the same scenarios: an earlier run's when
# OKU_SIM_SCREENSHOTS names their directory (tools/run-all.sh passes the
# sanitized suite's), else taken here.
simulator_shots=${OKU_SIM_SCREENSHOTS:-}
if [ -z "$simulator_shots" ]; then
    simulator_shots=$host/sim-screenshots
    (cd "$host" && ctest -R '^sim\.' -j"$(nproc)" >"$run/simulator-tests.log" 2>&1) ||
        fail "simulator scenarios, see $run/simulator-tests.log"
fi
for shot in "$run"/screenshots*/*.png; do
    name=${shot##*/}
    shown=${shot#"$run"/}
    # The backup window's inside shows the amounts and times of its run.
    ignore=
    case $name in waiting-box.png | backup-progress.png) ignore="--ignore 151,131,498,195" ;; esac
    # shellcheck disable=SC2086 # no word, or an option and its value
    if difference=$("$host/tools/board/screen-diff" $ignore \
        "$simulator_shots/$name" "$shot"); then
        pass "$shown identical to the simulator's"
    else
        fail "$shown: $difference"
    fi
done

step "figures"
sed -n -e 's/^measure first-page-ms \(.*\)/  start to first full page: \1 ms (emulated)/p' \
    -e 's/^measure \(Vm[A-Z]*\):[[:space:]]*\(.*\)/  \1 at 800x480x32: \2/p' "$run/measure.log" |
    tee -a "$results"
# Where the resident memory goes (tools/memory-breakdown.sh on the board).
sed -n 's/^measure \([ a-z].* kB\)$/    \1/p' "$run/measure.log" | tee -a "$results"
sed -n -e 's/^measure VmRSS:[[:space:]]*\(.*\)/  VmRSS with fault-around at one page: \1/p' \
    -e 's/^measure \(libstdc++\|other libraries\) *\(.* kB\)$/    \1 \2/p' \
    "$run/measure-touched.log" | tee -a "$results"
sed -n -e 's/^measure first-page-ms \(.*\)/  start to first full page on DRM: \1 ms (emulated)/p' \
    -e 's/^measure \(Vm[A-Z]*\):[[:space:]]*\(.*\)/  \1 on DRM: \2/p' \
    "$run/measure-drm.log" 2>/dev/null | tee -a "$results"
stripped=$run/lifeboat.stripped
arm-linux-gnueabihf-strip -o "$stripped" "$install/bin/lifeboat"
echo "  stripped program: $(wc -c <"$stripped") bytes" | tee -a "$results"

step "summary"
echo "$(grep -c '^pass' "$results") passed, $failures failed; logs in $run"
[ "$failures" -eq 0 ]
