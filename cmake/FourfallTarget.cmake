# Settings every Fourfall target shares, applied per target.
option(FOURFALL_WERROR "Treat compiler warnings as errors" OFF)
option(FOURFALL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

function(fourfall_target_settings target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${FOURFALL_WERROR}>:-Werror>)
  if(FOURFALL_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all
                                            -fno-omit-frame-pointer)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined -fno-sanitize-recover=all)
  endif()
endfunction()
