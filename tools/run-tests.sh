#!/bin/sh
# Builds everything and runs the whole test suite.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh -DOKU_BUILD_TESTS=ON
cd build
ctest --output-on-failure -j"$(nproc)"
