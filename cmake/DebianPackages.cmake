# Debian packages, built by CPack's DEB generator from a build configured for
# them (OKU_DEBIAN_PACKAGES=ON, prefix /usr), of the install components of
# the same names but the runtime's, which is named after its SONAME:
#   liboku1     (component liboku) the shared library, fonts, pictures and
#               language tables
#   liboku-dev  headers, static libraries, CMake and pkg-config files, the
#               guide, the examples and the API reference
#   oku-tools   the device simulator, fb2png, lngtool and the widget gallery
#               (the simulator and the gallery only in host builds), with
#               their manual pages
#   lifeboat    the program in its stand-alone layout in /usr/lib/lifeboat,
#               where KARO_LIFEBOAT points on the device
# and a -dbgsym package of each that holds programs or shared libraries,
# with their debug information.
# The target debs builds what they take, then writes them to
# ${CMAKE_BINARY_DIR}/debs, their dependencies worked out from the shared
# libraries the programs need (packaging/debian-depends.sh): on the host from
# its dpkg database, in a cross build from the packages its sysroot was
# unpacked from.

if(CMAKE_CROSSCOMPILING)
  execute_process(COMMAND dpkg-architecture -t ${CMAKE_LIBRARY_ARCHITECTURE} -qDEB_HOST_ARCH
                  OUTPUT_VARIABLE OKU_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  # tools/cross/fetch-armhf-packages.sh lists what it unpacked into the
  # sysroot; the .debs stay in its apt cache.
  if(DEFINED ENV{OKU_CACHE_DIR})
    set(_archives $ENV{OKU_CACHE_DIR}/apt-armhf/archives)
  else()
    set(_archives $ENV{HOME}/.cache/oku/apt-armhf/archives)
  endif()
  file(STRINGS ${OKU_SYSROOT}/.fetched-debs _debs)
  list(TRANSFORM _debs PREPEND ${_archives}/)
  list(JOIN _debs "\n" _debs)
  set(OKU_DEB_SHLIBS ${CMAKE_BINARY_DIR}/sysroot-debs.txt)
  file(WRITE ${OKU_DEB_SHLIBS} "${_debs}\n")
else()
  execute_process(COMMAND dpkg --print-architecture
                  OUTPUT_VARIABLE OKU_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  set(OKU_DEB_SHLIBS /var/lib/dpkg/info)
endif()
if(NOT OKU_DEB_ARCH)
  message(FATAL_ERROR "Debian packages need dpkg-dev: apt-get install dpkg-dev")
endif()
if(NOT TARGET docs)
  message(FATAL_ERROR "Debian packages hold the API reference, which needs Doxygen: apt-get install doxygen")
endif()
if(NOT TARGET OKU_shared)
  message(FATAL_ERROR "Debian packages hold the shared library: configure with OKU_BUILD_SHARED=ON")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL liboku liboku-dev oku-tools lifeboat)
set(CPACK_PACKAGE_NAME oku)
set(CPACK_PACKAGE_VERSION ${OKU_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "https://example.invalid/oku")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/debs)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed with DESTDIR, so that oku.pc names /usr and not the staging directory.
set(CPACK_SET_DESTDIR ON)
# The programs and shared libraries are stripped into the -dbgsym packages
# (CPack strips them itself); the static libraries are installed without
# debug information (InstallToolkit.cmake).
set(CPACK_STRIP_FILES OFF)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# The toolchain's tools, which read and split a cross build's programs.
set(CPACK_OBJCOPY_EXECUTABLE ${CMAKE_OBJCOPY})
set(CPACK_READELF_EXECUTABLE ${CMAKE_READELF})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${OKU_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "OKU maintainers <maintainers@users.noreply.c-seed-e0ed4e18.example>")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

set(_version "${OKU_VERSION}")
# Descriptions: CPack indents the lines after the first and marks the empty
# ones as paragraph breaks.
set(CPACK_DEBIAN_LIBOKU_PACKAGE_NAME liboku${OKU_VERSION_MAJOR})
set(CPACK_DEBIAN_LIBOKU_PACKAGE_SECTION libs)
# The linker cache learns of the library when the package is installed.
set(CPACK_DEBIAN_LIBOKU_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/liboku/triggers)
set(CPACK_COMPONENT_LIBOKU_DESCRIPTION "touch-screen GUI toolkit for embedded framebuffers
OKU draws a retained widget tree into the Linux framebuffer: sizers, buttons,
texts in any script with bidirectional layout, message boxes and tabbed
frames, worked by touch-screen controllers with calibration.

This package holds the shared library and its fonts, pictures and language
tables.")
set(CPACK_DEBIAN_LIBOKU-DEV_PACKAGE_NAME liboku-dev)
set(CPACK_DEBIAN_LIBOKU-DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_LIBOKU-DEV_PACKAGE_DEPENDS
    "${CPACK_DEBIAN_LIBOKU_PACKAGE_NAME} (= ${_version}), libsigc++-2.0-dev, libexpat1-dev, libpng-dev, libfreetype-dev, libdrm-dev, libboost-thread-dev, libboost-system-dev, libcairomm-1.0-dev")
set(CPACK_COMPONENT_LIBOKU-DEV_DESCRIPTION "touch-screen GUI toolkit for embedded framebuffers - development files
OKU draws a retained widget tree into the Linux framebuffer.

This package holds the headers, the static libraries and the files that let
CMake (find_package(OKU)) and pkg-config (oku, oku-cairo) find the toolkit,
with the getting-started guide, the examples and the API reference.")
set(CPACK_DEBIAN_OKU-TOOLS_PACKAGE_NAME oku-tools)
set(CPACK_DEBIAN_OKU-TOOLS_PACKAGE_SECTION devel)
set(CPACK_COMPONENT_OKU-TOOLS_DESCRIPTION "development tools for the OKU touch-screen toolkit
lifeboat-sim runs a program built on OKU on a simulated device (framebuffer,
touch controller, USB drive and keyboard), in a window or driven by a
script; fb2png saves an emulated framebuffer as a PNG picture; lngtool
compiles and checks a program's language tables; oku-gallery shows every
widget of the toolkit.")
set(CPACK_DEBIAN_LIFEBOAT_PACKAGE_NAME lifeboat)
set(CPACK_DEBIAN_LIFEBOAT_PACKAGE_SECTION admin)
set(CPACK_COMPONENT_LIFEBOAT_DESCRIPTION "rescue program for touch-screen devices
lifeboat is started instead of the device's application when the device
needs rescuing: it backs the device up onto a USB drive, resets it to
factory settings, reboots it or starts the application, worked by touch.

It is installed stand-alone in /usr/lib/lifeboat with its scripts, fonts,
pictures and language tables; KARO_LIFEBOAT names that directory.")

# Every package carries the copyright notice and the changelog Debian asks for.
set(_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
execute_process(COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog
                OUTPUT_FILE ${_changelog})
foreach(_component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${_component} _upper)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${_changelog}
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${CPACK_DEBIAN_${_upper}_PACKAGE_NAME}
          COMPONENT ${_component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)

# The files the packages take from the build, PACKAGE:FILE: build-debs.sh
# checks that each is there and works out the dependencies of the programs
# and shared libraries among them.
set(_packed)
set(_built)
foreach(_entry
    liboku:OKU_shared liboku-dev:OKU liboku-dev:OKU_cairo
    oku-tools:fb2png oku-tools:fbemu oku-tools:lngtool oku-tools:lifeboat-sim-installed
    oku-tools:lifeboat-sim-slowdrive oku-tools:oku-gallery lifeboat:lifeboat)
  string(REPLACE ":" ";" _entry ${_entry})
  list(GET _entry 0 _component)
  list(GET _entry 1 _target)
  if(TARGET ${_target})  # the simulator and the gallery only in host builds
    string(TOUPPER ${_component} _upper)
    list(APPEND _packed "${CPACK_DEBIAN_${_upper}_PACKAGE_NAME}:$<TARGET_FILE:${_target}>")
    list(APPEND _built ${_target})
  endif()
endforeach()
list(APPEND _packed "liboku-dev:$<TARGET_PROPERTY:docs,OKU_REFERENCE_INDEX>")

add_custom_target(debs
  COMMAND sh ${CMAKE_SOURCE_DIR}/packaging/build-debs.sh ${CMAKE_BINARY_DIR} ${CMAKE_READELF}
          ${OKU_DEB_ARCH} ${OKU_DEB_SHLIBS} ${OKU_VERSION} ${_packed}
  COMMENT "Debian packages in ${CMAKE_BINARY_DIR}/debs"
  VERBATIM)
# Besides the programs and libraries: what the packages hold of the build's
# making (the fonts, pictures and language tables, the reference, the
# manual pages, the scripts of lifeboat's tree).
add_dependencies(debs ${_built} docs man-pages)
foreach(_target fonts pixmaps lng scripts)
  if(TARGET ${_target})
    add_dependencies(debs ${_target})
  endif()
endforeach()
