#!/bin/sh
# Usage: package-hosts-test.sh SOURCE_DIR
# The tree names no package host: the tools that download packages take the
# machine's own apt sources, so that they follow its mirror or proxy.
# Needs git and a checkout (77 otherwise).
set -u
cd "$1" && git rev-parse --git-dir >/dev/null 2>&1 || { echo "SKIPPED: not a checkout"; exit 77; }
hosts='(deb|ftp|security|archive|httpredir|snapshot)(\.[a-z]+)?\.debian\.org|archive\.ubuntu\.com|packages\.cloud\.google\.com'
if git ls-files -z | xargs -0 grep -n -I -E "$hosts" -- | grep -v '^tests/scripts/package-hosts-test\.sh:'; then
    echo "FAIL: the lines above name a package host" >&2
    exit 1
fi
