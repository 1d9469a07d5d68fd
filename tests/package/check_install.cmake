cmake_minimum_required(VERSION 3.25)

# cmake -P check_install.cmake: installs BUILD_DIR with the prefix /usr into
# SCRATCH/root and checks what lands there. Fails with every problem listed.

set(prefix /usr)
set(root ${SCRATCH}/root)
set(usr ${root}${prefix})
set(problems "")

macro(problem text)
  list(APPEND problems "${text}")
endmacro()

macro(expect_file path)
  if(NOT EXISTS ${usr}/${path})
    problem("missing ${prefix}/${path}")
  endif()
endmacro()

macro(expect_absent path)
  if(EXISTS ${usr}/${path})
    problem("${prefix}/${path} installed although its target is not built")
  endif()
endmacro()

# Width and height from a PNG's header, which follows the 8-byte signature and
# the 8 bytes that open the IHDR chunk.
function(png_size path out)
  file(READ ${path} header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 8 width_hex)
  string(SUBSTRING "${header}" 40 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  set(${out} "${width}x${height}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${SCRATCH})
set(ENV{DESTDIR} ${root})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${log}")
endif()
unset(ENV{DESTDIR})

# ---- Documents every package has ------------------------------------------------
expect_file(share/doc/fourfall/copyright)
expect_file(share/doc/fourfall/changelog.gz)

# Manual pages are compressed and carry the project's version.
foreach(page man1/fourfall-analyze.1 man6/fourfall.6)
  if(page MATCHES "man6" AND NOT HAVE_GUI)
    continue()
  endif()
  expect_file(share/man/${page}.gz)
  if(EXISTS ${usr}/share/man/${page}.gz)
    execute_process(COMMAND gzip -dc ${usr}/share/man/${page}.gz OUTPUT_VARIABLE text)
    if(NOT text MATCHES "^\\.TH [^\n]*\"Fourfall ${VERSION}\"")
      problem("share/man/${page}.gz does not name Fourfall ${VERSION} in its title line")
    endif()
  endif()
endforeach()

# ---- The analyzer ---------------------------------------------------------------
if(HAVE_ANALYZE)
  expect_file(games/fourfall-analyze)
  # The installed copy must run on its own, outside the build tree.
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo 3344
                  COMMAND ${usr}/games/fourfall-analyze --level 3 --seed 1
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out MATCHES "^3344 [1-7] ")
    problem("installed fourfall-analyze did not answer '3344' (status ${status}): ${out}${err}")
  endif()
else()
  message(STATUS "skipped: fourfall-analyze is not built")
  expect_absent(games/fourfall-analyze)
endif()

# ---- The game, its launcher and its data ------------------------------------------
if(HAVE_GAME)
  expect_file(libexec/fourfall/fourfall)
  expect_file(games/fourfall)
  if(EXISTS ${usr}/games/fourfall)
    file(READ ${usr}/games/fourfall installed)
    file(READ ${BUILD_DIR}/packaging/fourfall built)
    if(NOT installed STREQUAL built)
      problem("games/fourfall is not the launcher")
    endif()
  endif()
else()
  message(STATUS "skipped: the game is not built")
  expect_absent(games/fourfall)
endif()

# The launcher must start the game from the data folder wherever the tree sits.
# A stand-in game that records its working directory replaces the real one,
# which would open a window.
set(fake ${SCRATCH}/relocated/opt/somewhere)
file(MAKE_DIRECTORY ${fake}/games ${fake}/libexec/fourfall ${fake}/share/fourfall/images)
file(COPY ${BUILD_DIR}/packaging/fourfall DESTINATION ${fake}/games)
file(WRITE ${fake}/libexec/fourfall/fourfall "#!/bin/sh\npwd -P\necho \"$@\"\n")
file(CHMOD ${fake}/libexec/fourfall/fourfall PERMISSIONS OWNER_READ OWNER_EXECUTE)
file(CREATE_LINK ${fake}/games/fourfall ${SCRATCH}/fourfall-link SYMBOLIC)
foreach(launcher ${fake}/games/fourfall ${SCRATCH}/fourfall-link)
  execute_process(COMMAND ${launcher} one "two words" WORKING_DIRECTORY ${SCRATCH}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  file(REAL_PATH ${fake}/share/fourfall data)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${data}\none two words\n")
    problem("launcher ${launcher} did not run the game in ${data} with its arguments: "
            "status ${status}, output '${out}${err}'")
  endif()
endforeach()

if(HAVE_GUI)
  # Every board picture in the source tree is installed where the game looks.
  file(GLOB images RELATIVE ${SOURCE_DIR}/images ${SOURCE_DIR}/images/*.bmp)
  if(NOT images)
    message(STATUS "skipped: no board pictures in images/ yet")
  endif()
  foreach(image ${images})
    expect_file(share/fourfall/images/${image})
  endforeach()

  set(entry ${usr}/share/applications/${APP_ID}.desktop)
  expect_file(share/applications/${APP_ID}.desktop)
  if(EXISTS ${entry})
    file(STRINGS ${entry} lines)
    foreach(wanted "Path=${prefix}/share/fourfall" "Exec=${prefix}/games/fourfall"
                   "Icon=fourfall" "Type=Application" "StartupNotify=true")
      if(NOT wanted IN_LIST lines)
        problem("the desktop entry lacks '${wanted}'")
      endif()
    endforeach()
  endif()

  foreach(size 16 32 48 64 128 256)
    set(icon share/icons/hicolor/${size}x${size}/apps/fourfall.png)
    expect_file(${icon})
    if(EXISTS ${usr}/${icon})
      png_size(${usr}/${icon} actual)
      if(NOT actual STREQUAL "${size}x${size}")
        problem("${icon} is ${actual}")
      endif()
    endif()
  endforeach()
  expect_file(share/icons/hicolor/scalable/apps/fourfall.svg)
  expect_file(share/pixmaps/fourfall.xpm)
  expect_file(share/metainfo/${APP_ID}.metainfo.xml)

  if(EXISTS ${usr}/share/man/man6/fourfall.6.gz)
    execute_process(COMMAND gzip -dc ${usr}/share/man/man6/fourfall.6.gz OUTPUT_VARIABLE page)
    if(page MATCHES "@" OR NOT page MATCHES "${prefix}/share/fourfall/images/")
      problem("the game's manual page does not name the installed data folder")
    endif()
  endif()
else()
  message(STATUS "skipped: the game's data (built without the GUI)")
endif()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "install layout problems:\n  ${text}")
endif()
message(STATUS "install layout as expected under ${root}")
