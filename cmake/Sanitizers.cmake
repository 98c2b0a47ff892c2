# OKU_SANITIZE=address builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer, OKU_SANITIZE=thread with ThreadSanitizer.
if(OKU_SANITIZE STREQUAL "address")
  set(_flags -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  # GCC's flow analysis through the instrumentation flags libstdc++'s own
  # std::function inside <regex> as maybe uninitialized; the normal build
  # keeps the warning for our code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
elseif(OKU_SANITIZE STREQUAL "thread")
  set(_flags -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT OKU_SANITIZE STREQUAL "")
  message(FATAL_ERROR "OKU_SANITIZE must be empty, 'address' or 'thread', not '${OKU_SANITIZE}'")
endif()
if(_flags)
  add_compile_options(${_flags})
  add_link_options(${_flags})
endif()
