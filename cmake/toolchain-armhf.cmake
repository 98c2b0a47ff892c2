# Cross build for the device, 32-bit ARM with hardware floating point
# (Debian 12 armhf), against the sysroot tools/cross/make-sysroot.sh makes.
# Needs: crossbuild-essential-armhf, qemu-user-static, pkg-config.
# Programs the build runs (the picture generator, test discovery, ctest) run
# under qemu-arm, which loads their libraries from the sysroot.
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-armhf.cmake ...
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
# GCC notes where the ARM argument passing differs from GCC 6 and older; all
# the code of the device is built by one newer compiler.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)

if(DEFINED ENV{OKU_SYSROOT})
  set(_oku_sysroot_default "$ENV{OKU_SYSROOT}")
elseif(DEFINED ENV{OKU_CACHE_DIR})
  set(_oku_sysroot_default "$ENV{OKU_CACHE_DIR}/sysroot-armhf")
else()
  set(_oku_sysroot_default "$ENV{HOME}/.cache/oku/sysroot-armhf")
endif()
set(OKU_SYSROOT "${_oku_sysroot_default}" CACHE PATH "The armhf sysroot")
# Configure checks are projects of their own that read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES OKU_SYSROOT)
if(NOT EXISTS "${OKU_SYSROOT}/usr/include")
  message(FATAL_ERROR "No armhf sysroot in ${OKU_SYSROOT}: run tools/cross/make-sysroot.sh")
endif()

set(CMAKE_SYSROOT "${OKU_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH "${OKU_SYSROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config sees only the sysroot's modules and prefixes their paths with it.
set(ENV{PKG_CONFIG_DIR} "")
set(ENV{PKG_CONFIG_LIBDIR}
    "${OKU_SYSROOT}/usr/lib/arm-linux-gnueabihf/pkgconfig:${OKU_SYSROOT}/usr/share/pkgconfig")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${OKU_SYSROOT}")

# -L serves the loader and libraries from the sysroot. Programs that an
# emulated program starts run under qemu-arm through binfmt_misc, a new
# emulator that finds the sysroot in QEMU_LD_PREFIX, which -E hands down.
set(CMAKE_CROSSCOMPILING_EMULATOR
    qemu-arm-static -L "${OKU_SYSROOT}" -E "QEMU_LD_PREFIX=${OKU_SYSROOT}")
