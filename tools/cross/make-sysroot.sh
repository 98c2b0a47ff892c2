#!/bin/sh
# Usage: make-sysroot.sh [--no-simulator]
# Builds the Debian 12 armhf sysroot the cross build compiles against and
# the emulated tests load their libraries from: the -dev packages of the
# build dependencies with everything they need, down to libc6.
# --no-simulator leaves out SDL2 (only the device simulator uses it), which
# halves the sysroot.
# Needs: what fetch-armhf-packages.sh needs.
# Leaves: the sysroot in ${OKU_CACHE_DIR:-$HOME/.cache/oku}/sysroot-armhf,
# its package list in .packages there; it is rebuilt only when that changes.
set -eu
case ${1:-} in
    --no-simulator | "") ;;
    *) echo "usage: $0 [--no-simulator]" >&2; exit 2 ;;
esac
without_simulator=${1:-}
set -- libc6-dev libfreetype-dev libexpat1-dev libpng-dev \
    libcairomm-1.0-dev libsigc++-2.0-dev libboost-thread-dev libboost-system-dev libdrm-dev \
    libgtest-dev libgmock-dev
[ -n "$without_simulator" ] || set -- "$@" libsdl2-dev
packages="$*"

sysroot=${OKU_CACHE_DIR:-$HOME/.cache/oku}/sysroot-armhf
if [ "$(cat "$sysroot/.packages" 2>/dev/null)" = "$packages" ]; then
    echo "sysroot up to date: $sysroot"
    exit 0
fi

# Made beside the old one and renamed into place, so that a build or test
# run using the sysroot meanwhile never sees it half made.
rm -rf "$sysroot.new"
"$(dirname "$0")/fetch-armhf-packages.sh" "$sysroot.new" "$@"

# Development symlinks such as libfoo.so -> /lib/arm-linux-gnueabihf/libfoo.so.1
# would resolve on the host; made relative, they stay inside the sysroot
# wherever it is moved.
(
    cd "$sysroot.new"
    find . -type l -lname '/*' | sed 's|^\./||' | while read -r link; do
        target=$(readlink "$link")
        up=$(echo "$link" | sed 's|[^/]*$||; s|[^/][^/]*|..|g')
        ln -sfn "$up${target#/}" "$link"
    done
)
echo "$packages" >"$sysroot.new/.packages"
rm -rf "$sysroot.old"
[ ! -e "$sysroot" ] || mv "$sysroot" "$sysroot.old"
mv "$sysroot.new" "$sysroot"
rm -rf "$sysroot.old"
echo "sysroot made: $sysroot"
