#!/bin/sh
# Everything CI runs, on a fresh Debian 12 machine: the host suite (as
# tools/run-tests.sh), the host suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the armhf suite under qemu-arm (with NEON and
# forced portable), and the simulator's scenarios on the emulated ARM board.
# Needs root or sudo for the Debian packages; leaves build/, build-asan/,
# build-armhf/, build-board/ and the armhf sysroot, kernel and packages in
# ${OKU_CACHE_DIR:-$HOME/.cache/oku}, which later runs reuse.
set -eu
cd "$(dirname "$0")/.."

start=$(date +%s)
summary=""
stage() {
    name=$1
    shift
    stage_start=$(date +%s)
    echo "=== $name"
    "$@"
    summary="$summary
$(printf '%-34s %5d s' "$name" $(( $(date +%s) - stage_start )))"
}

sanitized() {
    cmake -S . -B build-asan -DOKU_SANITIZE=address -DOKU_BUILD_BENCH=OFF
    cmake --build build-asan -j"$(nproc)"
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
}

stage "host suite" tools/run-tests.sh
stage "host suite, ASan + UBSan" sanitized
stage "armhf suite under qemu-arm" tools/cross/run-armhf-tests.sh
stage "emulated ARM board" tools/board/run-board.sh

echo "=== all passed$summary"
printf '%-34s %5d s\n' "whole run" $(( $(date +%s) - start ))
