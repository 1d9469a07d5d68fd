fourfall_add_test(engine_tests
  SOURCES engine_position_test.cpp engine_evaluate_test.cpp engine_search_test.cpp
          engine_reference_test.cpp
  LIBS fourfall_engine LABEL engine)

# The bench suites' move counts, pinned: a speed change must not change them.
if(TARGET fourfall-analyze)
  fourfall_add_test(engine_signature_tests SOURCES engine_signature_test.cpp
    LIBS fourfall_analyze_lib LABEL engine)
endif()
