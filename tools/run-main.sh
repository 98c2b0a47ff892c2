#!/bin/sh
# Builds the toolkit and the program and runs the main job.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh -DOKU_BUILD_TESTS=OFF
echo "The OKU toolkit library is built in build/src/libOKU.a."
echo "The lifeboat program and its device simulator are not part of the tree yet."
