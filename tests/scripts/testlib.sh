# Sourced by the script tests: a scratch directory, removed on exit after the test's cleanup_hook.
set -eu
scratch=$(mktemp -d)
cleanup_hook() { :; }
trap 'cleanup_hook; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
