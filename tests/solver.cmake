# The exact solver and fourfall-analyze --solve.
if(TARGET fourfall-analyze)
  fourfall_add_test(engine_solver_tests SOURCES engine_solver_test.cpp
    LIBS fourfall_analyze_lib LABEL engine)

  set(analyze $<TARGET_FILE:fourfall-analyze>)
  add_test(NAME analyze.SolveThreeOpenAtBothEnds
    COMMAND sh -c "printf '3344\\n' | '${analyze}' --solve")
  set_tests_properties(analyze.SolveThreeOpenAtBothEnds PROPERTIES
    LABELS engine PASS_REGULAR_EXPRESSION "^3344 \\+3 25 [0-9]+ [0-9]+\n$")
  # Ctrl+C in the middle of a long solve: a message, nothing half written,
  # and the status of an interrupted program.
  add_test(NAME analyze.SolveInterrupted
    COMMAND sh -c "echo - | timeout --preserve-status -s INT 1 '${analyze}' --solve 2>&1; echo \"exit=$?\"")
  set_tests_properties(analyze.SolveInterrupted PROPERTIES
    LABELS engine PASS_REGULAR_EXPRESSION "^fourfall-analyze: interrupted\nexit=130\n$")
endif()
