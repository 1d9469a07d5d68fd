# Fuzz targets: functions that take arbitrary bytes and check what must hold
# for any input. In the normal build each is linked with a driver that replays
# its committed corpus under CTest. With FOURFALL_FUZZ=ON (clang only, see
# `make fuzz`) they become libFuzzer binaries instead, and the code they reach
# is instrumented for coverage.
option(FOURFALL_FUZZ "Build the fuzz targets as libFuzzer binaries (needs clang)" OFF)

set(fourfall_fuzz_dir ${CMAKE_CURRENT_SOURCE_DIR}/fuzz)

if(FOURFALL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "FOURFALL_FUZZ needs clang with libFuzzer")
  endif()
  add_custom_target(fourfall_fuzzers)
  foreach(lib fourfall_engine fourfall_bmp fourfall_platform fourfall_analyze_lib)
    if(TARGET ${lib})
      target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
  endforeach()
endif()

# fourfall_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> [CORPUS <dir>]
#                     [ENVIRONMENT <vars...>])
# The corpus is tests/fuzz/corpus/<dir>/, by default <dir> = <name>.
function(fourfall_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
  if(NOT ARG_CORPUS)
    set(ARG_CORPUS ${name})
  endif()
  if(FOURFALL_FUZZ)
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fourfall_fuzzers ${name})
  else()
    add_executable(${name} ${ARG_SOURCES} ${fourfall_fuzz_dir}/replay_main.cpp)
    add_test(NAME ${name}.corpus COMMAND ${name} ${fourfall_fuzz_dir}/corpus/${ARG_CORPUS})
    # Under AddressSanitizer a single allocation above 64 MB is a failure:
    # no input in the corpus may make the decoder reach for that much.
    set(environment "ASAN_OPTIONS=detect_leaks=1:max_allocation_size_mb=64"
                    ${FOURFALL_SANITIZER_TEST_ENVIRONMENT} ${ARG_ENVIRONMENT})
    set_tests_properties(${name}.corpus PROPERTIES LABELS fuzz ENVIRONMENT "${environment}")
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  fourfall_target_settings(${name})
endfunction()

fourfall_add_fuzzer(bmp_decode_fuzz SOURCES fuzz/bmp_decode_fuzz.cpp LIBS fourfall_bmp)
if(TARGET fourfall_platform)
  fourfall_add_fuzzer(bitmap_load_fuzz SOURCES fuzz/bitmap_load_fuzz.cpp LIBS fourfall_platform
    CORPUS bmp_decode_fuzz ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
if(TARGET fourfall_analyze_lib)
  fourfall_add_fuzzer(analyze_parse_fuzz SOURCES fuzz/analyze_parse_fuzz.cpp
    LIBS fourfall_analyze_lib)
endif()
