#!/bin/sh
# Builds the toolkit, the program and the device simulator, then runs lifeboat
# in the simulator: in a window when a display is available, otherwise
# headless with commands on standard input (see --help). Arguments are passed
# to the simulator, e.g. tools/run-main.sh --reset -- "Message for the page".
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh -DOKU_BUILD_TESTS=OFF
exec build/tools/simulator/lifeboat-sim "$@"
