# The toolkit as another program's developer gets it: its components are
# installed into a scratch prefix, examples/first-page is built out of tree
# against them once with CMake and once with pkg-config, and both programs
# run on the installed simulator, which taps through their page and its
# message box.
# Usage: first-page-test.sh BUILD_DIR SOURCE_DIR SCREENSHOT_DIR
. "$2/tests/scripts/testlib.sh"
build=$1 source=$2 screenshots=$3
prefix=$scratch/prefix

for component in liboku liboku-dev oku-tools; do
    cmake --install "$build" --prefix "$prefix" --component "$component" >/dev/null ||
        fail "installing $component"
done
libdir=$(dirname "$(find "$prefix" -name 'liboku.so' | head -n 1)")
[ -n "$libdir" ] || fail "no liboku.so installed"
for file in include/oku/gui/widgets/Button.h include/oku/core/Geometry.h \
            lib/oku/fonts/DroidSans.ttf lib/oku/pixmaps/smiley.png lib/oku/libfbemu.so \
            bin/lifeboat-sim bin/fb2png; do
    [ -e "$prefix/$file" ] || fail "$file not installed"
done
for file in liboku.a cmake/OKU/OKUConfig.cmake cmake/OKU/OKUConfigVersion.cmake pkgconfig/oku.pc; do
    [ -e "$libdir/$file" ] || fail "$file not installed in $libdir"
done
readelf -d "$libdir/liboku.so" | grep -q 'SONAME.*\[liboku\.so\.1\]' || fail "liboku.so has no SONAME liboku.so.1"
# Only the toolkit's own symbols are exported, none of its internals.
exported=$(nm -D --defined-only "$libdir/liboku.so" | c++filt | awk '$2 != "A"')
leaked=$(echo "$exported" | grep -v 'OKU::' || true)
[ -z "$leaked" ] || fail "liboku.so exports symbols outside OKU: $(echo "$leaked" | head -n 5)"
internal=$(echo "$exported" | grep -E 'OKU::detail::|OKU::(Drm(DumbBuffer|FlipQueue|ModeChoice|Resources|Output)|FbOutput|FbPageFlipper|FtFace|FtServer|SerialPort|TouchCalibration|CalibrationState|TraceOutput)\b' || true)
[ -z "$internal" ] || fail "liboku.so exports internals: $(echo "$internal" | head -n 5)"
cmake -S "$source/examples/first-page" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_FLAGS=-Werror >"$scratch/cmake.log" 2>&1 &&
    cmake --build "$scratch/cmake" >>"$scratch/cmake.log" 2>&1 ||
    { cat "$scratch/cmake.log"; fail "the CMake build of first-page"; }

mkdir "$scratch/pc"
cp "$source/examples/first-page/main.cpp" "$source/examples/first-page/Makefile" "$scratch/pc"
PKG_CONFIG_PATH="$libdir/pkgconfig" make -C "$scratch/pc" CXXFLAGS="-O1 -Wall -Wextra -Werror" \
    >"$scratch/pc.log" 2>&1 || { cat "$scratch/pc.log"; fail "the pkg-config build of first-page"; }

mkdir -p "$screenshots"
for way in cmake pc; do
    program=$scratch/$way/first-page
    readelf -d "$program" | grep -q 'NEEDED.*\[liboku\.so\.1\]' || fail "$way: first-page does not use liboku.so.1"
    # Status 3: every check passed and the program ended (with the status 0
    # the scenario expects, which a device does not act on).
    status=0
    (cd "$screenshots" && LD_LIBRARY_PATH="$libdir" "$prefix/bin/lifeboat-sim" --headless --reset \
        --state "$scratch/state-$way" --program "$program" "$source/tests/package/first-page.txt") \
        >"$scratch/sim-$way.log" 2>&1 || status=$?
    [ $status -eq 3 ] || { cat "$scratch/sim-$way.log"; fail "$way: first-page on the simulator ($status)"; }
    mv "$screenshots/first-page.png" "$screenshots/first-page-$way.png"
    mv "$screenshots/first-page-hello.png" "$screenshots/first-page-hello-$way.png"
done
