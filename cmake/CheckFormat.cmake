# Runs clang-format in check mode over the project's C++ sources and fails
# with its report when any file would change.
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/engine/*.cpp
  ${SOURCE_DIR}/game/*.h ${SOURCE_DIR}/game/*.cpp
  ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp
  ${SOURCE_DIR}/ui/*.h ${SOURCE_DIR}/ui/*.cpp
  ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
  ${SOURCE_DIR}/bench/*.h ${SOURCE_DIR}/bench/*.cpp
  ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp)
list(SORT sources)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
  WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE result ERROR_VARIABLE report)
list(LENGTH sources count)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Files not formatted (run clang-format -i on them):\n${report}")
endif()
message(STATUS "${count} files formatted")
