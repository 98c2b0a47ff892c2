#!/bin/sh
# Everything CI runs, on a fresh Debian 12 machine: the host suite (as
# tools/run-tests.sh), the host suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (which also replays the fuzzers' corpora) and
# under ThreadSanitizer, the armhf suite under qemu-arm (with NEON and
# forced portable), and the simulator's scenarios on the emulated ARM board.
# Needs root or sudo for the Debian packages; leaves build/, build-asan/,
# build-tsan/, build-armhf/, build-board/ and the armhf sysroot, kernel and
# packages in ${OKU_CACHE_DIR:-$HOME/.cache/oku}, which later runs reuse.
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

# The whole suite, built with the sanitizers named by $1 into build-$2.
sanitized() {
    cmake -S . -B "build-$2" -DOKU_SANITIZE="$1" -DOKU_BUILD_BENCH=OFF
    cmake --build "build-$2" -j"$(nproc)"
    ctest --test-dir "build-$2" --output-on-failure -j"$(nproc)"
}

stage "host suite" tools/run-tests.sh
stage "host suite, ASan + UBSan" sanitized address asan
stage "host suite, TSan" sanitized thread tsan
stage "armhf suite under qemu-arm" tools/cross/run-armhf-tests.sh
stage "emulated ARM board" tools/board/run-board.sh

echo "=== all passed$summary"
printf '%-34s %5d s\n' "whole run" $(( $(date +%s) - start ))
