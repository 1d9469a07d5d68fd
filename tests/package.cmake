# Installs the build into a scratch DESTDIR and checks the layout a desktop
# expects. Parts whose targets are not built here are skipped by the check.
add_test(NAME package_install_layout
         COMMAND ${CMAKE_COMMAND}
                 -DBUILD_DIR=${PROJECT_BINARY_DIR}
                 -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                 -DSCRATCH=${CMAKE_CURRENT_BINARY_DIR}/package_install_layout
                 -DHAVE_GUI=${FOURFALL_GUI}
                 -DHAVE_GAME=$<TARGET_EXISTS:fourfall>
                 -DHAVE_ANALYZE=$<TARGET_EXISTS:fourfall-analyze>
                 -P ${CMAKE_CURRENT_SOURCE_DIR}/package/check_install.cmake)
set_tests_properties(package_install_layout PROPERTIES LABELS package)
