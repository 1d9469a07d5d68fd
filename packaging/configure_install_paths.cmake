# Runs at install time, inside `cmake --install` or CPack, where
# CMAKE_INSTALL_PREFIX is the prefix the files are really going to (without
# DESTDIR). Writes the files that name absolute paths under it or the version,
# and compresses the manual pages and the changelog as Debian wants them.
#
# Expects FOURFALL_PACKAGING_DIR, FOURFALL_OUTPUT_DIR, FOURFALL_DATA_DIR,
# FOURFALL_LAUNCHER (the last two relative to the prefix or absolute),
# FOURFALL_VERSION and FOURFALL_APP_ID.

function(fourfall_full_path out path)
  if(NOT IS_ABSOLUTE "${path}")
    set(path "${CMAKE_INSTALL_PREFIX}/${path}")
  endif()
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

# gzip -9n: the most compression, and no name or time stamp in the header, so
# that the same page always gives the same bytes.
function(fourfall_gzip file)
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed")
  endif()
endfunction()

fourfall_full_path(FOURFALL_DATA_FULL "${FOURFALL_DATA_DIR}")
fourfall_full_path(FOURFALL_LAUNCHER_FULL "${FOURFALL_LAUNCHER}")
set(out "${FOURFALL_OUTPUT_DIR}")
configure_file("${FOURFALL_PACKAGING_DIR}/fourfall.desktop.in" "${out}/${FOURFALL_APP_ID}.desktop"
               @ONLY)
configure_file("${FOURFALL_PACKAGING_DIR}/fourfall.6.in" "${out}/fourfall.6" @ONLY)
configure_file("${FOURFALL_PACKAGING_DIR}/fourfall-analyze.1" "${out}/fourfall-analyze.1" @ONLY)
configure_file("${FOURFALL_PACKAGING_DIR}/changelog" "${out}/changelog" COPYONLY)
foreach(file fourfall.6 fourfall-analyze.1 changelog)
  fourfall_gzip("${out}/${file}")
endforeach()
