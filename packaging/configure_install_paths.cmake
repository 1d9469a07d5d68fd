# Runs at install time, inside `cmake --install` or CPack, where
# CMAKE_INSTALL_PREFIX is the prefix the files are really going to (without
# DESTDIR). Writes the files that must name absolute paths under it.
#
# Expects FOURFALL_PACKAGING_DIR, FOURFALL_OUTPUT_DIR, FOURFALL_DATA_DIR and
# FOURFALL_LAUNCHER; the last two relative to the prefix or absolute.

function(fourfall_full_path out path)
  if(NOT IS_ABSOLUTE "${path}")
    set(path "${CMAKE_INSTALL_PREFIX}/${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

fourfall_full_path(FOURFALL_DATA_FULL "${FOURFALL_DATA_DIR}")
fourfall_full_path(FOURFALL_LAUNCHER_FULL "${FOURFALL_LAUNCHER}")
foreach(file fourfall.desktop fourfall.6)
  configure_file("${FOURFALL_PACKAGING_DIR}/${file}.in" "${FOURFALL_OUTPUT_DIR}/${file}" @ONLY)
endforeach()
