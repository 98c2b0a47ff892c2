# The toolkit as its Debian packages give it to another program's developer:
# the packages the build's target debs made are unpacked into a scratch
# root, examples/settings-page is built out of tree against them with CMake
# and with pkg-config (linking --no-as-needed, so that every library
# pkg-config names ends up needed), and both programs run on the unpacked
# simulator in German and Arabic, each screen compared with the example's
# reference screenshot.
# Usage: settings-page-test.sh BUILD_DIR SOURCE_DIR SCREEN_DIFF SCREENSHOT_DIR
. "$2/tests/scripts/testlib.sh"
build=$1 source=$2 screen_diff=$3 screenshots=$4
example=$source/examples/settings-page
arch=$(dpkg --print-architecture)
. "$source/tests/package/packagelib.sh"

unpack liboku1 liboku-dev oku-tools
link_host_files
export PATH="$root/usr/bin:$PATH" LD_LIBRARY_PATH="$root/$libdir"

cmake -S "$example" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$root/usr" -DCMAKE_CXX_FLAGS=-Werror \
    >"$scratch/cmake.log" 2>&1 && cmake --build "$scratch/cmake" >>"$scratch/cmake.log" 2>&1 ||
    { cat "$scratch/cmake.log"; fail "the CMake build of settings-page"; }

mkdir "$scratch/pc"
cp -r "$example/main.cpp" "$example/Makefile" "$example/lng" "$scratch/pc"
pc --exists oku || fail "pkg-config does not find oku in the unpacked packages"
make -C "$scratch/pc" PKG_CONFIG="env PKG_CONFIG_SYSROOT_DIR=$root PKG_CONFIG_LIBDIR=$root/$libdir/pkgconfig:$root/usr/share/pkgconfig pkg-config" \
    CXXFLAGS="-O1 -Wall -Wextra -Werror" LDFLAGS=-Wl,--no-as-needed >"$scratch/pc.log" 2>&1 ||
    { cat "$scratch/pc.log"; fail "the pkg-config build of settings-page"; }
# Linked with every library pkg-config named: the toolkit and what its
# headers use, never the toolkit's own dependencies.
needed=$(readelf -d "$scratch/pc/settings-page" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
case $needed in
    *libfreetype*|*libdrm*|*libexpat*|*libpng*|*libboost*) fail "settings-page needs the toolkit's own libraries: $needed" ;;
esac
echo "$needed" | grep -q 'liboku\.so\.1' || fail "settings-page does not use liboku.so.1: $needed"

mkdir -p "$screenshots"
for way in cmake pc; do
    for language in de ar; do
        run=$scratch/$way-$language
        mkdir "$run"
        status=0
        (cd "$run" && lifeboat-sim --headless --reset --language $language --state "$run/state" \
            --program "$scratch/$way/settings-page" "$source/tests/package/settings-page-$language.txt") \
            >"$run/sim.log" 2>&1 || status=$?
        [ $status -eq 3 ] || { cat "$run/sim.log"; fail "$way: settings-page in $language on the simulator ($status)"; }
        # Reset's Yes brings back the page as it started.
        for screen in settings:settings question:question reset:settings; do
            shot=$run/${screen%%:*}.png reference=${screen#*:}-$language.png
            cp "$shot" "$screenshots/$way-${screen%%:*}-$language.png"
            "$screen_diff" "$example/screenshots/$reference" "$shot" ||
                fail "$way: ${screen%%:*}.png in $language differs from $reference (kept in $screenshots)"
        done
    done
done
