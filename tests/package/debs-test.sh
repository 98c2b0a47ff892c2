# The Debian packages of a build configured with OKU_DEBIAN_PACKAGES: built
# by its target debs, clean for lintian (no errors), each holding what it
# promises, with the dependencies and the shared library's shlibs declared.
# Usage: debs-test.sh BUILD_DIR SOURCE_DIR [ARCH]   (ARCH: of packages built
# before, e.g. armhf from a cross build; without it the host's are built)
. "$2/tests/scripts/testlib.sh"
build=$1
arch=${3:-}
command -v lintian >/dev/null || { echo "lintian is missing: apt-get install lintian"; exit 77; }
if [ -z "$arch" ]; then
    cmake --build "$build" --target debs >"$scratch/debs.log" 2>&1 || { cat "$scratch/debs.log"; fail "building the packages"; }
    arch=$(dpkg --print-architecture)
fi

deb() { ls "$build"/debs/"$1"_*_"$arch".deb 2>/dev/null || fail "no $1 package for $arch"; }
holds() {
    dpkg-deb -c "$(deb "$1")" | awk '{ print $6 }' >"$scratch/contents"
    shift
    for path; do
        grep -q "^\./$path\$" "$scratch/contents" || fail "$path missing"
    done
}

for package in liboku liboku-dev oku-tools lifeboat; do
    file=$(deb $package)
    lintian --no-tag-display-limit "$file" >"$scratch/lintian" 2>&1 || :
    printf '%s %s bytes, lintian: %s errors, %s warnings\n' "${file##*/}" "$(wc -c <"$file")" \
        "$(grep -c '^E:' "$scratch/lintian")" "$(grep -c '^W:' "$scratch/lintian")"
    grep '^E:' "$scratch/lintian" && fail "lintian errors in $package"
    holds $package "usr/share/doc/$package/copyright"
done

multiarch=$(dpkg-architecture -a "$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)
holds liboku "usr/lib/$multiarch/liboku.so.1.0.0" usr/lib/oku/fonts/DroidSansFallback.ttf \
    usr/lib/oku/pixmaps/smiley.png
holds liboku-dev "usr/lib/$multiarch/liboku.a" "usr/lib/$multiarch/liboku.so" \
    usr/include/oku/gui/widgets/Button.h "usr/lib/$multiarch/cmake/OKU/OKUConfig.cmake" \
    "usr/lib/$multiarch/pkgconfig/oku.pc"
holds oku-tools usr/bin/fb2png usr/lib/oku/libfbemu.so
holds lifeboat usr/lib/lifeboat/bin/lifeboat usr/lib/lifeboat/bin/emergency-backup.sh \
    usr/lib/lifeboat/fonts/DroidSans.ttf usr/lib/lifeboat/pixmaps/smiley.png
dpkg-deb -c "$(deb lifeboat)" | grep -q 'usr/include\|/liboku' && fail "the toolkit's files in lifeboat"

dpkg-deb --ctrl-tarfile "$(deb liboku)" | tar -xOf - ./shlibs | grep -q '^liboku 1 liboku (>= ' ||
    fail "liboku declares no shlibs"
for check in "liboku libfreetype6" "liboku libsigc++-2.0-0v5" "lifeboat libpng16-16" "lifeboat mount" \
             "liboku-dev liboku (=" "oku-tools liboku (="; do
    set -- $check
    package=$1
    shift
    dpkg-deb -f "$(deb $package)" Depends | grep -qF "$*" || fail "$package does not depend on $*"
done
# The pkg-config file names the installed prefix, not a staging directory.
dpkg-deb --fsys-tarfile "$(deb liboku-dev)" | tar -xOf - "./usr/lib/$multiarch/pkgconfig/oku.pc" |
    grep -qx 'prefix=/usr' || fail "oku.pc does not name /usr"
