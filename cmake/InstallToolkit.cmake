# The toolkit installed for other programs, in install components apart from
# the device's stand-alone tree (component lifeboat, the default):
#   liboku      the shared library (and, from fonts/ and tools/pixmapgen, the
#               fonts and pictures in OKU_DATA_DIR)
#   liboku-dev  headers, the static library, CMake and pkg-config files
#   oku-tools   the device simulator and the framebuffer tools (tools/)
# None is installed unless asked for:
#   cmake --install BUILD --prefix DIR --component liboku-dev
# Included from src/CMakeLists.txt, where the libraries are defined.

include(CMakePackageConfigHelpers)

set(OKU_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/OKU)

install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/oku
        COMPONENT liboku-dev EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.h" PATTERN "detail" EXCLUDE)

install(TARGETS OKU EXPORT OKUTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT liboku-dev EXCLUDE_FROM_ALL)
if(TARGET OKU_shared)
  install(TARGETS OKU_shared EXPORT OKUTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT liboku EXCLUDE_FROM_ALL
                  NAMELINK_COMPONENT liboku-dev)
endif()
install(EXPORT OKUTargets NAMESPACE OKU:: DESTINATION ${OKU_CMAKE_DIR}
        COMPONENT liboku-dev EXCLUDE_FROM_ALL)

configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/OKUConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/OKUConfig.cmake
  INSTALL_DESTINATION ${OKU_CMAKE_DIR}
  PATH_VARS OKU_DATA_SUBDIR)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/OKUConfigVersion.cmake
  VERSION ${OKU_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/OKUConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/OKUConfigVersion.cmake
        DESTINATION ${OKU_CMAKE_DIR} COMPONENT liboku-dev EXCLUDE_FROM_ALL)

# oku.pc is written when installing, so that it names the prefix actually
# installed into (cmake --install --prefix), not the configured one.
set(_pc_private_libs "-lboost_thread -lboost_system -pthread")
foreach(_lib IN LISTS CMAKE_DL_LIBS)
  string(APPEND _pc_private_libs " -l${_lib}")
endforeach()
string(REPLACE ";" " -D" _pc_cflags "-D${OKU_ABI_DEFINITIONS}")
install(CODE "
  set(OKU_VERSION ${OKU_VERSION})
  set(OKU_PC_LIBDIR ${CMAKE_INSTALL_LIBDIR})
  set(OKU_PC_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR})
  set(OKU_PC_DATADIR ${OKU_DATA_SUBDIR})
  set(OKU_PC_CFLAGS \"${_pc_cflags}\")
  set(OKU_PC_PRIVATE_LIBS \"${_pc_private_libs}\")
  configure_file(${CMAKE_SOURCE_DIR}/cmake/oku.pc.in
                 \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/oku.pc\" @ONLY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig/oku.pc\")
" COMPONENT liboku-dev EXCLUDE_FROM_ALL)
