# Runs clang-tidy with the root .clang-tidy over every source file of the
# program (the test sources are left out: their assertion macros are not our
# code) and fails on any finding.
#
# usage: cmake -DRUN_CLANG_TIDY=<run-clang-tidy> -DBUILD_DIR=<dir with
#        compile_commands.json> -DSOURCE_DIR=<root> [-DJOBS=N] -P check_tidy.cmake
if(NOT JOBS)
  cmake_host_system_information(RESULT JOBS QUERY NUMBER_OF_LOGICAL_CORES)
endif()
execute_process(
  COMMAND ${RUN_CLANG_TIDY} -quiet -p ${BUILD_DIR} -j ${JOBS}
          "^${SOURCE_DIR}/(engine|game|platform|ui|tools|bench)/"
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
string(REGEX MATCHALL "[^\n]*: (warning|error): [^\n]*\\[[a-z.-]+(,[a-z.-]+)*\\]" findings
       "${output}")
list(REMOVE_DUPLICATES findings)
list(LENGTH findings count)
if(count GREATER 0 OR NOT result EQUAL 0)
  string(JOIN "\n" listing ${findings})
  message(FATAL_ERROR "clang-tidy: ${count} finding(s)\n${listing}")
endif()
message(STATUS "clang-tidy: no findings")
