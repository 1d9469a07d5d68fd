fourfall_add_test(engine_tests
  SOURCES engine_position_test.cpp engine_evaluate_test.cpp engine_search_test.cpp
          engine_reference_test.cpp
  LIBS fourfall_engine LABEL engine)

if(TARGET fourfall-analyze)
  fourfall_add_test(engine_analyze_tests SOURCES engine_analyze_test.cpp
    engine_signature_test.cpp LIBS fourfall_analyze_lib LABEL engine)

  # The built program itself, fed through a pipe as a user would.
  set(analyze $<TARGET_FILE:fourfall-analyze>)
  add_test(NAME analyze.ThreeOpenAtBothEndsAtLevelThree
    COMMAND sh -c "printf '3344\\n' | '${analyze}' --level 3")
  set_tests_properties(analyze.ThreeOpenAtBothEndsAtLevelThree PROPERTIES
    LABELS engine PASS_REGULAR_EXPRESSION "^3344 2 29998 85 [0-9]+\n$")
  add_test(NAME analyze.BadLinesExitOne
    COMMAND sh -c "printf '12x\\n1111111\\n' | '${analyze}' 2>&1; echo \"exit=$?\"")
  set_tests_properties(analyze.BadLinesExitOne PROPERTIES
    LABELS engine PASS_REGULAR_EXPRESSION "^line 1: [^\n]+\nline 2: [^\n]+\nexit=1\n$")
  add_test(NAME analyze.BadLevelExitTwo
    COMMAND sh -c "'${analyze}' --level 11 </dev/null 2>&1; echo \"exit=$?\"")
  set_tests_properties(analyze.BadLevelExitTwo PROPERTIES
    LABELS engine PASS_REGULAR_EXPRESSION "usage: fourfall-analyze.*exit=2\n$")
endif()
