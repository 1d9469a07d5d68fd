# clang-tidy over the program's sources, with the checks in .clang-tidy. It
# takes a few minutes on two cores, so it runs where warnings are errors
# (CI, and `make tidy`), in the plain build only.
find_program(RUN_CLANG_TIDY NAMES run-clang-tidy run-clang-tidy-14)
if(RUN_CLANG_TIDY AND FOURFALL_WERROR AND NOT FOURFALL_SANITIZE)
  add_test(NAME tidy_check
    COMMAND ${CMAKE_COMMAND} -DRUN_CLANG_TIDY=${RUN_CLANG_TIDY} -DBUILD_DIR=${PROJECT_BINARY_DIR}
            -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -P ${CMAKE_CURRENT_SOURCE_DIR}/tidy/check_tidy.cmake)
  set_tests_properties(tidy_check PROPERTIES LABELS tidy TIMEOUT 900 RUN_SERIAL TRUE)
endif()
