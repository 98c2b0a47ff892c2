# The toolkit installed for other programs, in install components apart from
# the device's stand-alone tree (component lifeboat, the default):
#   liboku      the shared library (and, from fonts/ and tools/pixmapgen, the
#               fonts and pictures in OKU_DATA_DIR)
#   liboku-dev  headers, the static libraries (liboku.a, liboku-cairo.a),
#               CMake and pkg-config files (oku, oku-cairo), and from docs/
#               the guide, the examples and the API reference
#   oku-tools   the device simulator and the framebuffer tools (tools/), with
#               their manual pages (packaging/man)
# None is installed unless asked for:
#   cmake --install BUILD --prefix DIR --component liboku-dev
# Included from src/CMakeLists.txt, where the libraries are defined.

include(CMakePackageConfigHelpers)

set(OKU_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OKU)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/oku
        COMPONENT liboku-dev EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.h" PATTERN "detail" EXCLUDE)

# The CMake package: the shared library in OKUTargets.cmake, which names only
# the libraries the public headers need; the static libraries in files of
# their own, read for the components that ask for them (OKUConfig.cmake.in),
# so that a program using the shared library does not need Boost.
if(TARGET OKU_shared)
  install(TARGETS OKU_shared EXPORT OKUTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT liboku EXCLUDE_FROM_ALL
                  NAMELINK_COMPONENT liboku-dev)
  install(EXPORT OKUTargets NAMESPACE OKU:: DESTINATION ${OKU_CMAKE_DIR}
          COMPONENT liboku-dev EXCLUDE_FROM_ALL)
endif()
foreach(_library OKU:OKUStaticTargets OKU_cairo:OKUCairoTargets)
  string(REPLACE ":" ";" _library ${_library})
  list(GET _library 0 _target)
  list(GET _library 1 _export)
  install(TARGETS ${_target} EXPORT ${_export}
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT liboku-dev EXCLUDE_FROM_ALL)
  install(EXPORT ${_export} NAMESPACE OKU:: DESTINATION ${OKU_CMAKE_DIR}
          COMPONENT liboku-dev EXCLUDE_FROM_ALL)
  # Installed without debug information, as Debian's static libraries are:
  # it is most of the toolkit's (60 MB), and programs are debugged in a build.
  install(CODE "
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug --enable-deterministic-archives
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:${_target}>\"
      COMMAND_ERROR_IS_FATAL ANY)
  " COMPONENT liboku-dev EXCLUDE_FROM_ALL)
endforeach()

configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/OKUConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/OKUConfig.cmake
  INSTALL_DESTINATION ${OKU_CMAKE_DIR}
  PATH_VARS OKU_DATA_SUBDIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OKUConfigVersion.cmake
  VERSION ${OKU_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OKUConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/OKUConfigVersion.cmake
        DESTINATION ${OKU_CMAKE_DIR} COMPONENT liboku-dev EXCLUDE_FROM_ALL)

# oku.pc and oku-cairo.pc are written when installing, so that they name the
# prefix actually installed into (cmake --install --prefix), not the
# configured one.
set(_pc_private_libs "-lboost_thread -lboost_system -pthread")
foreach(_lib IN LISTS CMAKE_DL_LIBS)
  string(APPEND _pc_private_libs " -l${_lib}")
endforeach()
string(REPLACE ";" " -D" _pc_cflags "-D${OKU_ABI_DEFINITIONS}")
foreach(_pc oku oku-cairo)
  set(_pc_file "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/${_pc}.pc")
  install(CODE "
    set(OKU_VERSION ${OKU_VERSION})
    set(OKU_PC_LIBDIR ${CMAKE_INSTALL_LIBDIR})
    set(OKU_PC_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR})
    set(OKU_PC_DATADIR ${OKU_DATA_SUBDIR})
    set(OKU_PC_CFLAGS \"${_pc_cflags}\")
    set(OKU_PC_PRIVATE_LIBS \"${_pc_private_libs}\")
    configure_file(${CMAKE_SOURCE_DIR}/cmake/${_pc}.pc.in \"${_pc_file}\" @ONLY)
    message(STATUS \"Installing: ${_pc_file}\")
  " COMPONENT liboku-dev EXCLUDE_FROM_ALL)
endforeach()

include(${CMAKE_SOURCE_DIR}/cmake/ManPages.cmake)
