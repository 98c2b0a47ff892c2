#!/bin/sh
# Usage: debian-depends.sh READELF ARCH SHLIBS_DIR ELF...
# Prints the Debian dependencies of the ELF files: for every shared library
# they need, the dependency its package's shlibs file declares, one entry per
# package with the highest version asked for, comma-separated.
# SHLIBS_DIR holds the shlibs files, named PACKAGE:ARCH.shlibs as in a dpkg
# database's info directory (the host's: /var/lib/dpkg/info); those for ARCH
# are read.
# Needs: readelf for the ELF files' architecture, dpkg.
# A needed library no shlibs file names is an error: its package would be
# missing from the dependencies.
set -eu
[ $# -ge 4 ] || { echo "usage: $0 READELF ARCH SHLIBS_DIR ELF..." >&2; exit 2; }
readelf=$1 arch=$2 source=$3
shift 3

shlibs=$(mktemp)
trap 'rm -f "$shlibs"' EXIT
cat "$source"/*:"$arch".shlibs >"$shlibs"

# libfoo.so.1 -> "libfoo 1"; libfoo-1.2.so -> "libfoo-1.2" (shlibs' own split).
needed=$(for elf in "$@"; do
    "$readelf" -d "$elf" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'
done | sort -u)
for soname in $needed; do
    case $soname in
        *.so.*) name=${soname%%.so.*} version=${soname#*.so.} ;;
        *) name=${soname%.so} name=${name%-*} version=${soname%.so} version=${version##*-} ;;
    esac
    entry=$(awk -v n="$name" -v v="$version" '$1 !~ /:$/ && $1 == n && $2 == v {
                $1 = ""; $2 = ""; sub(/^ +/, ""); print; exit }' "$shlibs")
    [ -n "$entry" ] || { echo "$0: no package declares $soname" >&2; exit 1; }
    echo "$entry"
done | tr ',' '\n' | sed 's/^ *//' | sort -u |
    awk '{ pkg = $1; ver = $0; sub(/^[^ ]* */, "", ver) }
         !(pkg in best) { order[++n] = pkg; best[pkg] = ver; next }
         ver != "" { best[pkg] = (best[pkg] == "" ? ver : best[pkg] "|" ver) }
         END { for (i = 1; i <= n; ++i) print order[i] "\t" best[order[i]] }' |
    while IFS="$(printf '\t')" read -r pkg versions; do
        # Of several version requirements, the highest.
        chosen=
        for v in $(echo "$versions" | tr '|' '\n' | sed -n 's/^(>= *\(.*\))$/\1/p'); do
            if [ -z "$chosen" ] || dpkg --compare-versions "$v" gt "$chosen"; then chosen=$v; fi
        done
        if [ -n "$chosen" ]; then echo "$pkg (>= $chosen)"; else echo "$pkg"; fi
    done | paste -sd, - | sed 's/,/, /g'
