# The main window under a long random session of user actions, offscreen.
# FOURFALL_SOAK_STEPS lengthens it and FOURFALL_SOAK_SEED replays one seed;
# `make soak` runs it long under the sanitizers.
if(TARGET fourfall_ui)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  fourfall_add_test(ui_soak_tests
    SOURCES qt_test_app.cpp ui_soak_test.cpp
    LIBS fourfall_ui Qt6::Test
    LABEL soak
    ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  target_compile_definitions(ui_soak_tests PRIVATE FOURFALL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
