# Every library the toolkit is built on is checked here, at configure time,
# so that a missing package stops the build at once with the package to install.
find_package(PkgConfig)
if(NOT PKG_CONFIG_FOUND)
  message(FATAL_ERROR "pkg-config is missing: apt-get install pkg-config")
endif()

function(oku_require_module target module package)
  pkg_check_modules(${target} IMPORTED_TARGET ${module})
  if(NOT ${target}_FOUND)
    message(FATAL_ERROR "${module} is missing: apt-get install ${package}")
  endif()
endfunction()

oku_require_module(FREETYPE freetype2 libfreetype-dev)
oku_require_module(EXPAT expat libexpat1-dev)
oku_require_module(PNG "libpng16>=1.6" libpng-dev)
oku_require_module(CAIROMM cairomm-1.0 libcairomm-1.0-dev)
oku_require_module(SIGCXX sigc++-2.0 libsigc++-2.0-dev)
oku_require_module(DRM libdrm libdrm-dev)

find_package(Boost COMPONENTS thread system)
if(NOT Boost_FOUND)
  message(FATAL_ERROR "Boost.Thread is missing: apt-get install libboost-thread-dev libboost-system-dev")
endif()
find_package(Threads REQUIRED)
