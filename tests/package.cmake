# Installs the build into a scratch DESTDIR and checks the layout a desktop
# expects. Parts whose targets are not built here are skipped by the check.
include(Identity)
add_test(NAME package_install_layout
         COMMAND ${CMAKE_COMMAND}
                 -DBUILD_DIR=${PROJECT_BINARY_DIR}
                 -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                 -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/package_install_layout
                 -DHAVE_GUI=${FOURFALL_GUI}
                 -DHAVE_GAME=$<TARGET_EXISTS:fourfall>
                 -DHAVE_ANALYZE=$<TARGET_EXISTS:fourfall-analyze>
                 -DVERSION=${PROJECT_VERSION}
                 -DAPP_ID=${FOURFALL_APP_ID}
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/package/check_install.cmake)
# Installing writes the generated pages and entries into the build tree, so the
# two tests that install take turns.
set_tests_properties(package_install_layout PROPERTIES LABELS package RESOURCE_LOCK fourfall_install)

# Builds the .deb and runs lintian and appstreamcli on it; any error or warning
# fails. About ten seconds; needs lintian, appstream and dpkg-dev (make deps).
# A package is built from a release tree, never from a sanitizer build.
if(TARGET fourfall AND TARGET fourfall-analyze AND NOT FOURFALL_SANITIZE)
  add_test(NAME package_deb_lintian_appstream
           COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/package/check_deb.sh ${PROJECT_BINARY_DIR}
                   ${CMAKE_CURRENT_BINARY_DIR}/package_deb ${FOURFALL_APP_ID})
  set_tests_properties(package_deb_lintian_appstream PROPERTIES LABELS package TIMEOUT 300
                                                                RESOURCE_LOCK fourfall_install)
endif()
