#!/bin/sh
# Everything CI runs, on a fresh Debian 12 machine: the host suite, built
# instrumented so that its line and branch coverage is printed (as
# tools/coverage.sh), the host suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (which also replays the fuzzers' corpora) and
# under ThreadSanitizer, the armhf suite under qemu-arm (with NEON and
# forced portable), and the simulator's scenarios on the emulated ARM board.
# Needs root or sudo for the Debian packages; leaves build-coverage/,
# build-asan/, build-tsan/, build-armhf/, build-board/, build/ (the board's
# host tools) and the armhf sysroot, kernel and packages in
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

# The whole suite, built with the sanitizers named by $1 into build-$2, with
# the further cache settings given after them.
sanitized() {
    sanitizers=$1
    directory=build-$2
    shift 2
    cmake -S . -B "$directory" -DOKU_SANITIZE="$sanitizers" -DOKU_BUILD_BENCH=OFF "$@"
    cmake --build "$directory" -j"$(nproc)"
    ctest --test-dir "$directory" --output-on-failure -j"$(nproc)"
}

stage "packages" tools/setup.sh --packages-only
stage "host suite, with coverage" tools/coverage.sh
stage "host suite, ASan + UBSan" sanitized address asan
# The fuzzers' corpora have no threads to race: replayed once, above, is enough.
stage "host suite, TSan" sanitized thread tsan -DOKU_BUILD_FUZZ=OFF
stage "armhf suite under qemu-arm" tools/cross/run-armhf-tests.sh
stage "emulated ARM board" tools/board/run-board.sh

echo "=== all passed$summary"
printf '%-34s %5d s\n' "whole run" $(( $(date +%s) - start ))
