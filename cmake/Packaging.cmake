# Where `cmake --install` puts Fourfall, and the Debian package built from it.
#
#   games/fourfall                   launcher: changes into the data folder, runs the game
#   bin/fourfall-analyze             the command-line analyzer
#   libexec/fourfall/fourfall        the game itself
#   share/fourfall/images/*.bmp      the board pictures, read from ./images at start-up
#   share/applications/ID.desktop    starts the game with Path= set to the data folder
#   share/icons/hicolor/*/apps/      the icon at 16 to 256 pixels and as SVG
#   share/pixmaps/fourfall.xpm       the classic 32 x 32, 16-colour icon
#   share/man/man1, man6             manual pages, compressed
#   share/metainfo/ID.metainfo.xml   the AppStream description
#   share/doc/fourfall/              copyright and changelog.gz
#
# ID is the application id (cmake/Identity.cmake). The game's launcher goes to
# games/, where Debian keeps games, the analyzer to bin/ with the other tools.
#
# This file is included after every subdirectory, so the program targets are
# known here; each binary is installed only once its target exists.
include(GNUInstallDirs)
include(Identity)

set(FOURFALL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(FOURFALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/fourfall)
set(FOURFALL_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/fourfall)
set(FOURFALL_GENERATED_DIR ${PROJECT_BINARY_DIR}/packaging)
set(FOURFALL_GAMES_BINDIR games)
set(FOURFALL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/fourfall)

# The manual pages, the desktop entry and the metainfo are written at install
# time: they name absolute paths under the prefix, which may change between
# configuring and installing (`cmake --install --prefix`, or CPack installing
# under /usr). Manual pages are installed compressed, as Debian wants them.
install(CODE "
  set(FOURFALL_PACKAGING_DIR \"${FOURFALL_PACKAGING_DIR}\")
  set(FOURFALL_OUTPUT_DIR \"${FOURFALL_GENERATED_DIR}/install\")
  set(FOURFALL_DATA_DIR \"${FOURFALL_DATA_DIR}\")
  set(FOURFALL_LAUNCHER \"${FOURFALL_GAMES_BINDIR}/fourfall\")
  set(FOURFALL_VERSION \"${FOURFALL_VERSION}\")
  set(FOURFALL_APP_ID \"${FOURFALL_APP_ID}\")
  include(\"${FOURFALL_PACKAGING_DIR}/configure_install_paths.cmake\")
")

# The binaries the package ships get Debian's hardening: fortified libc calls in
# every object linked into them, and a read-only GOT (relro with bindnow). A
# sanitizer build, and a build without optimisation (where fortifying does
# nothing but warn), stay as they are.
function(fourfall_linked_targets out target)
  set(found ${target})
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(TARGET ${lib})
      get_target_property(imported ${lib} IMPORTED)
      if(NOT imported)
        fourfall_linked_targets(more ${lib})
        list(APPEND found ${more})
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(FOURFALL_SHIPPED_PROGRAMS "")
foreach(program fourfall fourfall-analyze)
  if(TARGET ${program})
    list(APPEND FOURFALL_SHIPPED_PROGRAMS ${program})
  endif()
endforeach()
if(NOT FOURFALL_SANITIZE)
  set(optimised $<NOT:$<CONFIG:Debug>>)
  foreach(program IN LISTS FOURFALL_SHIPPED_PROGRAMS)
    target_link_options(${program} PRIVATE LINKER:-z,relro LINKER:-z,now)
    fourfall_linked_targets(parts ${program})
    foreach(part IN LISTS parts)
      target_compile_definitions(${part} PRIVATE $<${optimised}:_FORTIFY_SOURCE=2>)
    endforeach()
  endforeach()
endif()

if(TARGET fourfall-analyze)
  install(TARGETS fourfall-analyze RUNTIME DESTINATION ${FOURFALL_GAMES_BINDIR})
endif()
install(FILES ${FOURFALL_GENERATED_DIR}/install/fourfall-analyze.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${FOURFALL_PACKAGING_DIR}/copyright DESTINATION ${FOURFALL_DOC_DIR})
install(FILES ${FOURFALL_GENERATED_DIR}/install/changelog.gz DESTINATION ${FOURFALL_DOC_DIR})

# The launcher finds the game and its data relative to itself, so it works in
# a staging tree or an unpacked package as well as in the installed place.
function(fourfall_path_from_bin out dir)
  set(from ${FOURFALL_GAMES_BINDIR})
  set(to ${dir})
  # Relative install directories hang off the same prefix, whichever it is.
  if(NOT IS_ABSOLUTE ${from})
    set(from /prefix/${from})
  endif()
  if(NOT IS_ABSOLUTE ${to})
    set(to /prefix/${to})
  endif()
  file(RELATIVE_PATH relative ${from} ${to})
  set(${out} ${relative} PARENT_SCOPE)
endfunction()
fourfall_path_from_bin(FOURFALL_DATA_FROM_BIN ${FOURFALL_DATA_DIR})
fourfall_path_from_bin(FOURFALL_GAME_FROM_BIN ${FOURFALL_GAME_DIR}/fourfall)
configure_file(${FOURFALL_PACKAGING_DIR}/fourfall.in ${FOURFALL_GENERATED_DIR}/fourfall @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)

if(TARGET fourfall)
  install(TARGETS fourfall RUNTIME DESTINATION ${FOURFALL_GAME_DIR})
  install(PROGRAMS ${FOURFALL_GENERATED_DIR}/fourfall DESTINATION ${FOURFALL_GAMES_BINDIR})
endif()

# A stripped binary still carries the compiler's notes; Debian's own strip drops
# them too. CPack's CPACK_STRIP_FILES and `cmake --install --strip` both strip.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program ${FOURFALL_SHIPPED_PROGRAMS})
      if(program STREQUAL fourfall)
        set(path \"${FOURFALL_GAME_DIR}/fourfall\")
      else()
        set(path \"${FOURFALL_GAMES_BINDIR}/\${program}\")
      endif()
      if(NOT IS_ABSOLUTE \"\${path}\")
        set(path \"\${CMAKE_INSTALL_PREFIX}/\${path}\")
      endif()
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                              --remove-section=.note \"\$ENV{DESTDIR}\${path}\")
    endforeach()
  endif()
")

if(FOURFALL_GUI)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION ${FOURFALL_DATA_DIR}/images
          FILES_MATCHING PATTERN "*.bmp")

  install(FILES ${FOURFALL_GENERATED_DIR}/install/${FOURFALL_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${FOURFALL_GENERATED_DIR}/install/fourfall.6.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

  # AppStream wants screenshots as web addresses. The project has no web site, so
  # the pictures are kept in packaging/screenshots/ (`make screenshots` redraws
  # them) and listed only once FOURFALL_SCREENSHOT_URL names where they are served.
  set(FOURFALL_SCREENSHOT_URL "" CACHE STRING
      "Web folder that serves packaging/screenshots/, for the AppStream metainfo; empty: none")
  set(FOURFALL_SCREENSHOTS "")
  if(FOURFALL_SCREENSHOT_URL)
    string(REGEX REPLACE "/+$" "" base "${FOURFALL_SCREENSHOT_URL}")
    string(CONCAT FOURFALL_SCREENSHOTS
           "<screenshots>\n"
           "    <screenshot type=\"default\">\n"
           "      <caption>A game under way at level 4</caption>\n"
           "      <image>${base}/fourfall-game.png</image>\n"
           "    </screenshot>\n"
           "  </screenshots>")
  endif()
  configure_file(${FOURFALL_PACKAGING_DIR}/fourfall.metainfo.xml.in
                 ${FOURFALL_GENERATED_DIR}/${FOURFALL_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${FOURFALL_GENERATED_DIR}/${FOURFALL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # Icons come from tools/icongen (`make icons`) and are kept in the repository.
  set(icons ${FOURFALL_PACKAGING_DIR}/icons)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${icons}/fourfall-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME fourfall.png)
  endforeach()
  install(FILES ${icons}/fourfall.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${icons}/fourfall.xpm DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps)
endif()

# ---- Debian package: `make package` --------------------------------------------

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fourfall)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Fourfall developers")
# The project has no web domain; the maintainer address is the one the project's
# commits are made under. A distribution sets its own with -DFOURFALL_MAINTAINER.
set(FOURFALL_MAINTAINER "Fourfall developers <maintainers@users.noreply.c-seed-29413f26.example>"
    CACHE STRING "The Debian package's Maintainer field")
set(CPACK_PACKAGE_CONTACT "${FOURFALL_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "four-in-a-row against the computer")
set(CPACK_PACKAGE_DESCRIPTION
    "Fourfall is a game of four-in-a-row for one person against the computer on a
board of seven columns and six rows, with ten playing levels. The package also
holds fourfall-analyze, which lets the game's engine choose a move for
positions read from standard input.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries the binaries link (Qt, libc, libstdc++);
# the platform plugin that opens the window and the fonts the skin asks for by
# name are loaded at run time, so they are listed by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, fonts-dejavu-extra")
include(CPack)
