fourfall_add_test(engine_tests
  SOURCES engine_position_test.cpp engine_evaluate_test.cpp engine_search_test.cpp
          engine_reference_test.cpp
  LIBS fourfall_engine LABEL engine)
