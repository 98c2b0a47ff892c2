#!/bin/sh
# Line and branch coverage of the toolkit and the program (src/, app/) over
# the whole host test suite, measured with gcov and gcovr: builds
# build-coverage/ instrumented (--coverage, no optimisation), runs every test
# once, writes per-file reports (coverage-lines.txt, coverage-branches.txt)
# beside it and prints the summary. Branches the compiler adds for exceptions
# and those it cannot reach are left out, so the figure counts the code's own.
# The instrumented program writes its counts also when it ends through
# exitProcess, so what the scenarios reach inside lifeboat counts too.
#
#   tools/coverage.sh [BUILD_DIR [CTEST_ARGUMENT...]]
#
# Arguments after the build directory choose the tests (for example
# -L core_tests for one suite's share); without them every test runs.
# OKU_COVERAGE_TARGETS names the targets to build (default: all of them),
# so that one suite's share needs only its own test program built.
# OKU_COVERAGE_SANITIZE builds the same tree with sanitizers too (the values
# of OKU_SANITIZE), so that one build and one run give both.
#
# Exits non-zero when a test fails: a figure over a failing suite means little.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-coverage}
case $build in /*) ;; *) build=$PWD/$build ;; esac
[ $# -eq 0 ] || shift
"$top/tools/install-packages.sh" gcovr

cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DOKU_BUILD_BENCH=OFF \
    -DOKU_SANITIZE="${OKU_COVERAGE_SANITIZE:-}" \
    -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS="--coverage -DOKU_COVERAGE" \
    -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage >/dev/null
# shellcheck disable=SC2086 # one word per target
cmake --build "$build" -j"$(nproc)" ${OKU_COVERAGE_TARGETS:+--target $OKU_COVERAGE_TARGETS}
find "$build" -name '*.gcda' -delete
status=0
(cd "$build" && ctest -j"$(nproc)" --timeout 600 --output-on-failure "$@" >"$build/coverage-tests.log" 2>&1) ||
    status=$?
# A failing test's output, and the figure's time and test count.
[ "$status" -eq 0 ] || cat "$build/coverage-tests.log"
tail -n 3 "$build/coverage-tests.log"

report() {
    gcovr --root "$top" --object-directory "$build" --exclude-directories "$build/CMakeFiles" \
        --filter "$top/src/" --filter "$top/app/" \
        --exclude-throw-branches --exclude-unreachable-branches -j "$(nproc)" "$@" "$build"
}
report --txt "$build/coverage-lines.txt" --print-summary
report --branches --txt "$build/coverage-branches.txt" >/dev/null
echo "per file: $build/coverage-lines.txt, $build/coverage-branches.txt"
exit $status
