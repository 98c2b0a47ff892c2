# Fuzzing options, read before the library is configured so that a fuzzing
# build instruments every object.
#
# OKU_BUILD_FUZZ builds one program per input the device reads (fuzz/). By
# default each links a replay main that runs it over its corpus, and ctest
# replays every corpus; OKU_FUZZ=ON (clang only) links libFuzzer instead and
# builds everything with coverage, AddressSanitizer and UndefinedBehaviorSanitizer.
# Cross builds leave them out: the device has no use for them.
if(CMAKE_CROSSCOMPILING)
  option(OKU_BUILD_FUZZ "Build the fuzz targets" OFF)
else()
  option(OKU_BUILD_FUZZ "Build the fuzz targets" ON)
endif()
option(OKU_FUZZ "Link the fuzz targets with libFuzzer (clang)" OFF)
if(OKU_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "OKU_FUZZ needs clang: CC=clang CXX=clang++ cmake -DOKU_FUZZ=ON ...")
  endif()
  set(OKU_BUILD_FUZZ ON CACHE BOOL "Build the fuzz targets" FORCE)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                      -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
