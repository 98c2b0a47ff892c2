#!/bin/sh
# Usage: build-debs.sh BUILD_DIR READELF ARCH SHLIBS_SOURCE VERSION
# Builds the Debian packages of a build configured with OKU_DEBIAN_PACKAGES
# (run by its target debs, after the build): works out each package's
# dependencies from the libraries its programs need (debian-depends.sh;
# lifeboat's scripts also need mount) and runs CPack, which leaves the
# packages in BUILD_DIR/debs. SHLIBS_SOURCE is a dpkg database's info
# directory (the host's packages) or a file listing the .debs a cross
# build's sysroot was unpacked from, one path a line.
# Needs: cpack, dpkg-deb, the toolchain's readelf.
set -eu
[ $# -eq 5 ] || { echo "usage: $0 BUILD_DIR READELF ARCH SHLIBS_SOURCE VERSION" >&2; exit 2; }
build=$1 readelf=$2 arch=$3 shlibs=$4 version=$5
here=$(dirname "$0")

# The shlibs files of a sysroot's packages, read out of them once.
if [ -f "$shlibs" ]; then
    dir=$build/packaging/shlibs
    mkdir -p "$dir"
    while read -r deb; do
        dpkg-deb --ctrl-tarfile "$deb" | tar -xOf - ./shlibs 2>/dev/null || :
    done <"$shlibs" >"$dir/sysroot:$arch.shlibs"
    shlibs=$dir
fi

depends() {
    sh "$here/debian-depends.sh" "$readelf" "$arch" "$shlibs" "$@"
}

tools="$build/tools/fbemu/fb2png $build/tools/fbemu/libfbemu.so"
for tool in "$build/tools/simulator/installed/lifeboat-sim" "$build/tools/gallery/oku-gallery"; do
    [ -e "$tool" ] && tools="$tools $tool"
done

rm -rf "$build/debs"
# shellcheck disable=SC2086
cpack -G DEB --config "$build/CPackConfig.cmake" \
    -D "CPACK_DEBIAN_LIBOKU_PACKAGE_DEPENDS=$(depends "$build/src/liboku.so")" \
    -D "CPACK_DEBIAN_OKU-TOOLS_PACKAGE_DEPENDS=$(depends $tools), liboku (= $version)" \
    -D "CPACK_DEBIAN_LIFEBOAT_PACKAGE_DEPENDS=$(depends "$build/app/lifeboat"), mount"
ls -l "$build"/debs/*.deb
