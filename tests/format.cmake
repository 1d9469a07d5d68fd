# Every C++ file of the project must be as clang-format writes it.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14)
if(CLANG_FORMAT)
  add_test(NAME format_check
    COMMAND ${CMAKE_COMMAND} -DCLANG_FORMAT=${CLANG_FORMAT} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckFormat.cmake)
  set_tests_properties(format_check PROPERTIES LABELS format)
endif()
