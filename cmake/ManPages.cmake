# The manual pages of the programs of oku-tools (packaging/man/PROGRAM.1),
# compressed as Debian's are and installed with their programs. The programs
# are defined by folders added after src/, hence the deferred call; only the
# pages of the programs this build makes are installed.

function(oku_install_man_pages)
  set(_dir ${CMAKE_BINARY_DIR}/man)
  set(_pages)
  # target:program
  foreach(_entry fb2png:fb2png lngtool:lngtool oku-gallery:oku-gallery
                 lifeboat-sim-installed:lifeboat-sim)
    string(REPLACE ":" ";" _entry ${_entry})
    list(GET _entry 0 _target)
    list(GET _entry 1 _program)
    if(NOT TARGET ${_target})
      continue()
    endif()
    set(_source ${CMAKE_SOURCE_DIR}/packaging/man/${_program}.1)
    set(_page ${_dir}/${_program}.1.gz)
    add_custom_command(OUTPUT ${_page}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_dir}
      COMMAND sh -c "gzip -9nc \"$1\" >\"$2\"" sh ${_source} ${_page}
      DEPENDS ${_source}
      COMMENT "Manual page ${_program}(1)"
      VERBATIM)
    list(APPEND _pages ${_page})
    install(FILES ${_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
            COMPONENT oku-tools EXCLUDE_FROM_ALL)
  endforeach()
  add_custom_target(man-pages ALL DEPENDS ${_pages})
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL oku_install_man_pages)
