#!/bin/sh
# Everything CI runs, on a fresh Debian 12 machine: the host suite under
# AddressSanitizer and UndefinedBehaviorSanitizer (which also replays the
# fuzzers' corpora), built instrumented for coverage too so that its line and
# branch coverage is printed (as tools/coverage.sh), the host suite under
# ThreadSanitizer, a short run of every benchmark, the host's Debian packages
# with the examples built against them, the armhf suite under
# qemu-arm (with NEON and forced portable), and the simulator's scenarios on
# the emulated ARM board. Each tree is built once: the benchmarks' tree is
# the one whose host tools the board uses.
# Needs root or sudo for the Debian packages; leaves build-asan/,
# build-tsan/, build-armhf/, build-board/, build/ (benchmarks and the board's
# host tools) and the armhf sysroot, kernel and packages in
# ${OKU_CACHE_DIR:-$HOME/.cache/oku}, which later runs reuse.
# The compilers run through ccache, whose cache lies in that directory too:
# a later run of a fresh clone compiles only what changed, whatever the
# clone's path (debug information may then name an earlier clone's files),
# the coverage build only where the clone lies where it lay.
set -eu
cd "$(dirname "$0")/.."

export CCACHE_DIR="${OKU_CACHE_DIR:-$HOME/.cache/oku}/ccache" CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1 CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-6G}
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache

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

# Every benchmark once, briefly: that it runs, not its figures.
benchmarks() {
    cmake -S . -B build -DOKU_BUILD_BENCH=ON
    cmake --build build -j"$(nproc)" --target benchmarks
    ctest --test-dir build -L bench_smoke --output-on-failure
}

# The host's Debian packages, as the guide makes them, checked by lintian and
# apt, and the examples built against them and run on the simulator.
packages() {
    cmake -S . -B build -DOKU_DEBIAN_PACKAGES=ON -DCMAKE_INSTALL_PREFIX=/usr
    cmake --build build -j"$(nproc)" --target screen-diff
    # package.build_debs builds the packages once for the tests after it.
    CMAKE_BUILD_PARALLEL_LEVEL=$(nproc) ctest --test-dir build -R '^package\.' -j"$(nproc)" \
        --output-on-failure
}

stage "packages" tools/setup.sh --packages-only
ccache --zero-stats >/dev/null
# Coverage keeps the sources' absolute paths, which gcov needs to find them
# (ccache keys an instrumented build by its directory anyway).
stage "host suite, ASan + UBSan, coverage" env -u CCACHE_BASEDIR OKU_COVERAGE_SANITIZE=address \
    tools/coverage.sh build-asan
# The fuzzers' corpora have no threads to race: replayed once, above, is enough.
# Optimised as ThreadSanitizer advises, with assertions on, and with the line
# tables its reports need rather than full debugging information: half the
# compiling of -O2 -g.
stage "host suite, TSan" sanitized thread tsan -DOKU_BUILD_FUZZ=OFF -DCMAKE_BUILD_TYPE=Debug \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1"
stage "benchmarks, a short run of each" benchmarks
stage "Debian packages and examples" packages
stage "armhf suite under qemu-arm" tools/cross/run-armhf-tests.sh
# The board compares its screens with the simulator's screenshots that the
# sanitized suite took.
stage "emulated ARM board" env OKU_SIM_SCREENSHOTS="$PWD/build-asan/sim-screenshots" \
    tools/board/run-board.sh

echo "=== all passed$summary"
ccache --show-stats | sed -n 's/^ *\(Hits\|Misses\): */compiler cache \1: /p'
printf '%-34s %5d s\n' "whole run" $(( $(date +%s) - start ))
