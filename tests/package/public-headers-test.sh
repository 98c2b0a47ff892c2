# Every installed header in one program that links with the installed shared
# library: compiled with -fkeep-inline-functions, so that each inline function
# of the headers is emitted and must find what it calls among the symbols
# liboku.so exports. A program that uses only part of the headers would let
# an inline caller of a hidden function through until a user calls it. The
# program then catches an exception the library throws, by its type.
# Usage: public-headers-test.sh BUILD_DIR SOURCE_DIR
. "$2/tests/scripts/testlib.sh"
build=$1 source=$2
prefix=$scratch/prefix

for component in liboku liboku-dev; do
    cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null ||
        fail "installing $component"
done
libdir=$(dirname "$(find "$prefix" -name 'liboku.so' | head -n 1)")
[ -n "$libdir" ] || fail "no liboku.so installed"
# The installed headers are the public ones, complete without the internals.
[ -z "$(find "$prefix/include/oku" -path '*/detail*')" ] || fail "internal headers installed"
find "$prefix/include/oku" -name '*.h' | sort |
    sed "s|$prefix/include/oku/\(.*\)|#include \"\1\"|" >"$scratch/all-headers.cpp"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
c++ -std=c++17 -fkeep-inline-functions $(pkg-config --cflags oku) -o "$scratch/public-headers" \
    "$scratch/all-headers.cpp" "$source/tests/package/public-headers-main.cpp" \
    $(pkg-config --libs oku) >"$scratch/build.log" 2>&1 ||
    { grep -v '^\s' "$scratch/build.log" | head -n 40; fail "the installed headers do not build into a program with liboku.so"; }
LD_LIBRARY_PATH="$libdir" "$scratch/public-headers" || fail "the program linked with liboku.so"
