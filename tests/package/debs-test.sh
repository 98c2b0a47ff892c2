# The Debian packages of a build configured with OKU_DEBIAN_PACKAGES: built
# by its target debs, clean for lintian (no errors), each holding what it
# promises, with well-formed dependencies and the shared library's shlibs
# declared; installed together (dependencies checked by apt), their
# pkg-config and CMake files give a program what it needs and no more.
# Usage: debs-test.sh BUILD_DIR SOURCE_DIR [ARCH]   (ARCH: of a cross build,
# e.g. armhf; without it the host's, and only then are programs built
# against them). The build's target debs has made the packages.
. "$2/tests/scripts/testlib.sh"
build=$1
arch=${3:-}
for tool in lintian apt-get; do
    command -v $tool >/dev/null || { echo "$tool is missing: apt-get install $tool"; exit 77; }
done
if [ -z "$arch" ]; then
    host=yes
    arch=$(dpkg --print-architecture)
fi
. "$2/tests/package/packagelib.sh"
holds() {
    dpkg-deb -c "$(deb "$1")" | awk '{ print $6 }' >"$scratch/contents"
    shift
    for path; do
        grep -q "^\./$path\$" "$scratch/contents" || fail "$path missing"
    done
}

# The runtime is named after the library's SONAME.
packages="liboku1 liboku-dev oku-tools lifeboat"
[ -z "$(ls "$build"/debs/liboku_* 2>/dev/null)" ] || fail "a runtime package not named after the SONAME"
for package in $packages; do
    file=$(deb $package)
    lintian --no-tag-display-limit "$file" >"$scratch/lintian" 2>&1 || :
    printf '%s %s bytes, lintian: %s errors, %s warnings\n' "${file##*/}" "$(wc -c <"$file")" \
        "$(grep -c '^E:' "$scratch/lintian")" "$(grep -c '^W:' "$scratch/lintian")"
    grep '^E:' "$scratch/lintian" && fail "lintian errors in $package"
    holds $package "usr/share/doc/$package/copyright"
done
# The programs' and shared libraries' debug information, in -dbgsym packages.
for package in liboku1 oku-tools lifeboat; do
    ls "$build"/debs/${package}-dbgsym_*_"$arch".ddeb >/dev/null 2>&1 || fail "no ${package}-dbgsym package"
done

holds liboku1 "$libdir/liboku.so.1.0.0" usr/lib/oku/fonts/DroidSansFallback.ttf \
    usr/lib/oku/pixmaps/smiley.png
holds liboku-dev "$libdir/liboku.a" "$libdir/liboku.so" "$libdir/liboku-cairo.a" \
    usr/include/oku/gui/widgets/Button.h usr/include/oku/graphics/Pixmap.h \
    "$libdir/cmake/OKU/OKUConfig.cmake" "$libdir/cmake/OKU/OKUTargets.cmake" \
    "$libdir/cmake/OKU/OKUStaticTargets.cmake" "$libdir/cmake/OKU/OKUCairoTargets.cmake" \
    "$libdir/pkgconfig/oku.pc" "$libdir/pkgconfig/oku-cairo.pc" \
    usr/share/doc/liboku-dev/getting-started.md usr/share/doc/liboku-dev/examples/first-page/main.cpp \
    usr/share/doc/liboku-dev/reference/index.html
holds oku-tools usr/bin/fb2png usr/bin/lngtool usr/lib/oku/libfbemu.so \
    usr/share/doc/oku-tools/framebuffer-emulation.md
# Every program has its manual page.
for program in $(awk '$1 ~ /^\.\/usr\/bin\// { sub(/.*\//, "", $1); print $1 }' "$scratch/contents"); do
    grep -q "^\./usr/share/man/man1/$program\.1\.gz\$" "$scratch/contents" || fail "no manual page for $program"
done
holds lifeboat usr/lib/lifeboat/bin/lifeboat usr/lib/lifeboat/bin/emergency-backup.sh \
    usr/lib/lifeboat/fonts/DroidSans.ttf usr/lib/lifeboat/pixmaps/smiley.png
dpkg-deb -c "$(deb lifeboat)" | grep -q 'usr/include\|/liboku' && fail "the toolkit's files in lifeboat"

# Dependencies: well formed, and every package with programs or shared
# libraries depends on the packages of the libraries they need.
for package in $packages; do
    depends=$(dpkg-deb -f "$(deb $package)" Depends)
    [ -n "$depends" ] || fail "$package has no Depends"
    echo "$depends" | tr ',' '\n' | sed 's/^ *//' |
        grep -Evx '[a-z0-9][a-z0-9+.-]+( \((<<|<=|=|>=|>>) [^ ()]+\))?( \| .*)?' &&
        fail "$package: malformed Depends: $depends"
done
dpkg-deb --ctrl-tarfile "$(deb liboku1)" | tar -xOf - ./shlibs | grep -q '^liboku 1 liboku1 (>= ' ||
    fail "liboku1 declares no shlibs"
# The simulator, which needs SDL, is packed in host builds only.
for check in "liboku1 libc6" "liboku1 libfreetype6" "liboku1 libsigc++-2.0-0v5" "liboku1 libboost-thread" \
             "lifeboat libc6" "lifeboat libpng16-16" "lifeboat mount" "oku-tools libc6" \
             ${host:+"oku-tools libsdl2"} "oku-tools liboku1 (= " "liboku-dev liboku1 (= " \
             "liboku-dev libcairomm-1.0-dev" "liboku-dev libsigc++-2.0-dev" "liboku-dev libboost-thread-dev"; do
    set -- $check
    package=$1
    shift
    dpkg-deb -f "$(deb $package)" Depends | grep -qF "$*" || fail "$package does not depend on $*"
done

# The static libraries carry no debug information (it lies in the build).
unpack $packages
for library in liboku.a liboku-cairo.a; do
    readelf -S -W "$root/$libdir/$library" >"$scratch/sections" || fail "reading $library"
    grep -q '\.text' "$scratch/sections" || fail "no sections read from $library"
    grep -q '\.debug_' "$scratch/sections" && fail "$library holds debug information"
done
printf 'liboku.a: %s bytes\n' "$(wc -c <"$root/$libdir/liboku.a")"

# The pkg-config and CMake files name the installed prefix, /usr.
grep -qx 'prefix=/usr' "$root/$libdir/pkgconfig/oku.pc" || fail "oku.pc does not name /usr"

[ -n "${host:-}" ] || exit 0

# Together the packages install: apt checks their dependencies against the
# host's.
(cd "$build/debs" && apt-get -s -q install ./liboku1_*.deb ./liboku-dev_*.deb ./oku-tools_*.deb \
    ./lifeboat_*.deb) >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; fail "the packages do not install together"; }

link_host_files
pc --libs oku >"$scratch/libs"
echo "pkg-config --libs oku: $(cat "$scratch/libs")"
echo "pkg-config --libs --static oku: $(pc --libs --static oku)"
grep -q -- '-lsigc-2.0' "$scratch/libs" || fail "pkg-config --libs oku lacks sigc++, which the headers use"
grep -Eq -- '-l(freetype|drm|expat|png|boost)' "$scratch/libs" && fail "pkg-config --libs oku links the toolkit's internals"
for library in -lfreetype -ldrm -lexpat -lpng16 -lboost_thread; do
    pc --libs --static oku | grep -q -- "$library" || fail "pkg-config --libs --static oku lacks $library"
done

# A program that uses a signal of the toolkit links with the toolkit's
# flags alone, as needed or not, and needs no more libraries than it uses.
cat >"$scratch/signal.cpp" <<'PROGRAM'
#include "core/XMLParser.h"
#include "gui/widgets/Button.h"
int main()
{
    sigc::signal<void()> clicked;
    int count = 0;
    clicked.connect([&count] { ++count; });
    clicked.emit();
    return count == 1 ? 0 : 1;
}
PROGRAM
for needed in as-needed no-as-needed; do
    c++ -std=c++17 $(pc --cflags oku) "$scratch/signal.cpp" -o "$scratch/signal-$needed" \
        -Wl,--$needed $(pc --libs oku) >"$scratch/cc.log" 2>&1 || { cat "$scratch/cc.log"; fail "linking with --$needed"; }
done
readelf -d "$scratch/signal-no-as-needed" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' >"$scratch/needed"
grep -q '^liboku\.so\.1$' "$scratch/needed" || fail "the program does not need liboku.so.1"
grep -E '^lib(freetype|drm|expat|png|boost)' "$scratch/needed" && fail "needless libraries in the program"
LD_LIBRARY_PATH=$root/$libdir "$scratch/signal-as-needed" || fail "the program built against the packages"

# Pixmap::getCairo, through oku-cairo.pc.
cat >"$scratch/cairo.cpp" <<'PROGRAM'
#include <cairomm/context.h>
#include "graphics/Pixmap.h"
int main()
{
    OKU::Pixmap pixmap(4, 4, false);
    Cairo::RefPtr<Cairo::Context> cairo = pixmap.getCairo();
    cairo->set_source_rgb(1, 0, 0);
    cairo->paint();
    return pixmap.getPixel(1, 1).red == 255 && pixmap.getPixel(1, 1).blue == 0 ? 0 : 1;
}
PROGRAM
c++ -std=c++17 $(pc --cflags oku-cairo) "$scratch/cairo.cpp" -o "$scratch/cairo" -Wl,--as-needed \
    $(pc --libs oku-cairo) >"$scratch/cc.log" 2>&1 || { cat "$scratch/cc.log"; fail "linking with oku-cairo"; }
LD_LIBRARY_PATH=$root/$libdir "$scratch/cairo" || fail "getCairo did not draw"

# CMake: the shared library without Boost, the static library and Cairo's
# part as components.
mkdir "$scratch/cmake"
cat >"$scratch/cmake/CMakeLists.txt" <<'PROJECT'
cmake_minimum_required(VERSION 3.20)
project(packaged LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 17)
find_package(OKU 1.0 REQUIRED COMPONENTS ${COMPONENTS})
get_target_property(interface OKU::oku INTERFACE_LINK_LIBRARIES)
message(STATUS "OKU::oku links ${interface}")
add_executable(signal signal.cpp)
target_link_libraries(signal PRIVATE ${LIBRARY})
if(TARGET OKU::oku_cairo)
  add_executable(cairo cairo.cpp)
  target_link_libraries(cairo PRIVATE OKU::oku_cairo)
endif()
PROJECT
cp "$scratch/signal.cpp" "$scratch/cairo.cpp" "$scratch/cmake"
cmake_build() {
    name=$1
    shift
    cmake -S "$scratch/cmake" -B "$scratch/cmake-$name" -DCMAKE_PREFIX_PATH="$root/usr" "$@" \
        >"$scratch/cmake.log" 2>&1 && cmake --build "$scratch/cmake-$name" >>"$scratch/cmake.log" 2>&1 ||
        { cat "$scratch/cmake.log"; fail "the CMake build ($name)"; }
}
cmake_build shared -DLIBRARY=OKU::oku -DCMAKE_DISABLE_FIND_PACKAGE_Boost=ON
grep -q 'OKU::oku links PkgConfig::SIGCXX$' "$scratch/cmake.log" || { grep 'OKU::oku links' "$scratch/cmake.log"; fail "OKU::oku links more than sigc++"; }
cmake_build static -DLIBRARY=OKU::oku_static -DCOMPONENTS='static;cairo'
readelf -d "$scratch/cmake-static/signal" | grep -q 'NEEDED.*liboku' && fail "OKU::oku_static gave the shared library"
for program in signal cairo; do
    LD_LIBRARY_PATH=$root/$libdir "$scratch/cmake-static/$program" || fail "$program built with CMake"
done
