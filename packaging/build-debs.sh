#!/bin/sh
# Usage: build-debs.sh BUILD_DIR READELF ARCH SHLIBS_SOURCE VERSION PACKAGE:FILE...
# Builds the Debian packages of a build configured with OKU_DEBIAN_PACKAGES
# (run by its target debs, after the build): checks that every FILE the
# packages take from the build is there, works out each PACKAGE's
# dependencies from the libraries its programs and shared libraries need
# (debian-depends.sh; lifeboat's scripts also need mount), checks them and
# runs CPack, which leaves the packages in BUILD_DIR/debs. SHLIBS_SOURCE is a
# dpkg database's info directory (the host's packages) or a file listing the
# .debs a cross build's sysroot was unpacked from, one path a line.
# Needs: cpack, dpkg-deb, the toolchain's readelf.
set -eu
[ $# -ge 6 ] || { echo "usage: $0 BUILD_DIR READELF ARCH SHLIBS_SOURCE VERSION PACKAGE:FILE..." >&2; exit 2; }
build=$1 readelf=$2 arch=$3 shlibs=$4 version=$5
shift 5
here=$(dirname "$0")
runtime=liboku${version%%.*}

missing=
for entry; do
    [ -e "${entry#*:}" ] || missing="$missing
  ${entry#*:} (${entry%%:*})"
done
[ -z "$missing" ] || { echo "$0: the build has not made what the packages take:$missing" >&2; exit 1; }

# The shlibs files of a sysroot's packages, read out of them once.
if [ -f "$shlibs" ]; then
    dir=$build/packaging/shlibs
    mkdir -p "$dir"
    while read -r deb; do
        dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./shlibs 2>/dev/null || :
    done <"$shlibs" >"$dir/sysroot:$arch.shlibs"
    shlibs=$dir
fi

# The files of PACKAGE that need shared libraries.
dynamic() {
    for entry in "$@"; do
        case $entry in "$package":*) ;; *) continue ;; esac
        file=${entry#*:}
        "$readelf" -d "$file" 2>/dev/null | grep -q '(NEEDED)' && echo "$file"
    done
    :
}

# Prints PACKAGE's Depends: those of its programs and libraries, then EXTRA.
# A package with programs or libraries depends on something, and every
# entry is a package name with at most one version relation.
depends() {
    package=$1 extra=$2
    shift 2
    files=$(dynamic "$@")
    list=
    [ -z "$files" ] || list=$(sh "$here/debian-depends.sh" "$readelf" "$arch" "$shlibs" $files)
    [ -n "$list" ] || [ -z "$files" ] || { echo "$0: no dependencies found for $package" >&2; return 1; }
    list=$(printf '%s\n%s\n' "$list" "$extra" | tr ',' '\n' | sed 's/^ *//; s/ *$//' | grep -v '^$' |
           paste -sd, - | sed 's/,/, /g')
    malformed=$(echo "$list" | tr ',' '\n' | sed 's/^ *//' |
        grep -Evx '[a-z0-9][a-z0-9+.-]+( \((<<|<=|=|>=|>>) [0-9][A-Za-z0-9.+~:-]*\))?' || :)
    [ -z "$malformed" ] || { echo "$0: malformed dependencies of $package: $malformed" >&2; return 1; }
    echo "$list"
}

library_depends=$(depends "$runtime" "" "$@")
tools_depends=$(depends oku-tools "$runtime (= $version)" "$@")
lifeboat_depends=$(depends lifeboat mount "$@")

rm -rf "$build/debs"
cpack -G DEB --config "$build/CPackConfig.cmake" \
    -D "CPACK_DEBIAN_LIBOKU_PACKAGE_DEPENDS=$library_depends" \
    -D "CPACK_DEBIAN_OKU-TOOLS_PACKAGE_DEPENDS=$tools_depends" \
    -D "CPACK_DEBIAN_LIFEBOAT_PACKAGE_DEPENDS=$lifeboat_depends"
# CPack's debug packages list their files in md5sums by the path they were
# staged at and have no documentation: rebuilt with the sums of their
# contents and, as Debian's, their documentation folder a link to that of
# the package they belong to (and depend on).
staged=$build/packaging/dbgsym
for ddeb in "$build"/debs/*.ddeb; do
    rm -rf "$staged"
    dpkg-deb -R "$ddeb" "$staged"
    package=$(dpkg-deb -f "$ddeb" Package)
    mkdir -p "$staged/usr/share/doc"
    ln -s "${package%-dbgsym}" "$staged/usr/share/doc/$package"
    (cd "$staged" && find usr -type f -exec md5sum {} + >DEBIAN/md5sums)
    dpkg-deb --root-owner-group -Zgzip -b "$staged" "$ddeb" >/dev/null
done
rm -rf "$staged"

# Each file has gone into its package (an install rule of its component).
for entry; do
    package=${entry%%:*} name=${entry##*/}
    dpkg-deb -c "$build"/debs/"$package"_*.deb | grep "/$name\$" >/dev/null ||
        { echo "$0: $package does not hold $name: is it installed with its component?" >&2; exit 1; }
done
ls -l "$build"/debs/*.deb "$build"/debs/*.ddeb
