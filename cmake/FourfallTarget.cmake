# Settings every Fourfall target shares, applied per target.
option(FOURFALL_WERROR "Treat compiler warnings as errors" OFF)
option(FOURFALL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

function(fourfall_target_settings target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  # Shadowed names, silent narrowing and sign changes, and C casts hide
  # faults the other warnings miss; our own code keeps clean of all of them.
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion
                                           -Wold-style-cast $<$<BOOL:${FOURFALL_WERROR}>:-Werror>)
  if(FOURFALL_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all
                                            -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all)
  endif()
endfunction()

# The environment every test runs in under the sanitizers: leaks are
# failures, except the one the system's D-Bus library is known for.
set(FOURFALL_SANITIZER_TEST_ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1")
