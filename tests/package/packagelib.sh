# Sourced by the package tests after testlib.sh, with build (the build tree)
# and arch (the packages' architecture) set: the packages of $build/debs, and
# $root, a scratch root to unpack them into.
multiarch=$(dpkg-architecture -a "$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)
libdir=usr/lib/$multiarch
root=$scratch/root

deb() { ls "$build"/debs/"$1"_*_"$arch".deb 2>/dev/null || fail "no $1 package for $arch"; }

unpack() {
    for package; do
        dpkg-deb -x "$(deb "$package")" "$root" || fail "unpacking $package"
    done
}

# The unpacked packages as the root of a system: the host's own headers,
# libraries and pkg-config files beside theirs.
link_host_files() {
    for dir in usr/include "$libdir" "$libdir/pkgconfig" usr/share/pkgconfig; do
        mkdir -p "$root/$dir"
        for path in /"$dir"/*; do
            [ -e "$root$path" ] || ln -s "$path" "$root$path"
        done
    done
}

# pkg-config on that system.
pc() {
    PKG_CONFIG_SYSROOT_DIR=$root PKG_CONFIG_LIBDIR=$root/$libdir/pkgconfig:$root/usr/share/pkgconfig \
        pkg-config "$@"
}
