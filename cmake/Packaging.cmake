# Where `cmake --install` puts Fourfall, and the Debian package built from it.
#
#   bin/fourfall                     launcher: changes into the data folder, runs the game
#   bin/fourfall-analyze             the command-line analyzer
#   libexec/fourfall/fourfall        the game itself
#   share/fourfall/images/*.bmp      the board pictures, read from ./images at start-up
#   share/applications/fourfall.desktop   starts the game with Path= set to the data folder
#   share/icons/hicolor/*/apps/      the icon at 16 to 256 pixels and as SVG
#   share/pixmaps/fourfall.xpm       the classic 32 x 32, 16-colour icon
#   share/man/man1, man6             manual pages
#   share/metainfo/                  the AppStream description
#
# This file is included after every subdirectory, so the program targets are
# known here; each binary is installed only once its target exists.
include(GNUInstallDirs)

set(FOURFALL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(FOURFALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/fourfall)
set(FOURFALL_GAME_DIR ${CMAKE_INSTALL_LIBEXECDIR}/fourfall)
set(FOURFALL_GENERATED_DIR ${PROJECT_BINARY_DIR}/packaging)

if(TARGET fourfall-analyze)
  install(TARGETS fourfall-analyze RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${FOURFALL_PACKAGING_DIR}/fourfall-analyze.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The launcher finds the game and its data relative to itself, so it works in
# a staging tree or an unpacked package as well as in the installed place.
function(fourfall_path_from_bin out dir)
  set(from ${CMAKE_INSTALL_BINDIR})
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
  install(PROGRAMS ${FOURFALL_GENERATED_DIR}/fourfall DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(FOURFALL_GUI)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/images/ DESTINATION ${FOURFALL_DATA_DIR}/images
          FILES_MATCHING PATTERN "*.bmp")

  # The desktop entry and the game's manual page name absolute paths, and the
  # prefix may change between configuring and installing (`cmake --install
  # --prefix`, or CPack installing under /usr), so they are written at install time.
  install(CODE "
    set(FOURFALL_PACKAGING_DIR \"${FOURFALL_PACKAGING_DIR}\")
    set(FOURFALL_OUTPUT_DIR \"${FOURFALL_GENERATED_DIR}/install\")
    set(FOURFALL_DATA_DIR \"${FOURFALL_DATA_DIR}\")
    set(FOURFALL_LAUNCHER \"${CMAKE_INSTALL_BINDIR}/fourfall\")
    include(\"${FOURFALL_PACKAGING_DIR}/configure_install_paths.cmake\")
  ")
  install(FILES ${FOURFALL_GENERATED_DIR}/install/fourfall.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${FOURFALL_GENERATED_DIR}/install/fourfall.6
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

  configure_file(${FOURFALL_PACKAGING_DIR}/fourfall.metainfo.xml.in
                 ${FOURFALL_GENERATED_DIR}/fourfall.metainfo.xml @ONLY)
  install(FILES ${FOURFALL_GENERATED_DIR}/fourfall.metainfo.xml
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
set(CPACK_PACKAGE_CONTACT "Fourfall developers <fourfall@example.org>")
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
