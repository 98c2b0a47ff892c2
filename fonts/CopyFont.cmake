# cmake -DFILE=<path suffix> -DPACKAGE=<Debian package> -DDESTINATION=<file>
#       -P CopyFont.cmake
# Copies the file of the installed package whose path ends in "/FILE" to
# DESTINATION. The package's own file list is asked, so the copy follows the
# package wherever it puts its fonts.

find_program(_dpkg_query dpkg-query)
if(NOT _dpkg_query)
  message(FATAL_ERROR "Cannot look up font ${FILE}: dpkg-query is missing (not a Debian system). "
                      "Install the Debian package ${PACKAGE} or copy ${FILE} to ${DESTINATION}.")
endif()
execute_process(COMMAND ${_dpkg_query} -L ${PACKAGE}
                OUTPUT_VARIABLE _files RESULT_VARIABLE _result ERROR_QUIET)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "Font ${FILE} is missing: apt-get install ${PACKAGE}")
endif()

string(REPLACE "\n" ";" _files "${_files}")
set(_source)
foreach(_path IN LISTS _files)
  string(FIND "${_path}" "/${FILE}" _at REVERSE)
  string(LENGTH "${_path}" _length)
  string(LENGTH "/${FILE}" _suffix)
  math(EXPR _end "${_at} + ${_suffix}")
  if(_at GREATER_EQUAL 0 AND _end EQUAL _length AND EXISTS "${_path}")
    set(_source "${_path}")
    break()
  endif()
endforeach()
if(NOT _source)
  message(FATAL_ERROR "Font ${FILE} is missing although ${PACKAGE} is installed: "
                      "apt-get install --reinstall ${PACKAGE}")
endif()

get_filename_component(_directory "${DESTINATION}" DIRECTORY)
file(MAKE_DIRECTORY "${_directory}")
configure_file("${_source}" "${DESTINATION}" COPYONLY)
