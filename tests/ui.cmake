# The windows: the main window and its board view, and the About box. The Qt
# tests run under the offscreen platform; qt_test_app.cpp starts the
# application.
if(TARGET fourfall_ui)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  fourfall_add_test(ui_board_view_tests
    SOURCES ui_board_view_test.cpp ui_board_geometry_test.cpp ui_board_placement_test.cpp
    LIBS fourfall_ui LABEL ui)
  fourfall_add_test(ui_main_window_tests
    SOURCES qt_test_app.cpp ui_main_window_test.cpp
    LIBS fourfall_ui Qt6::Test
    LABEL ui
    ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  target_compile_definitions(ui_main_window_tests PRIVATE
    FOURFALL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  fourfall_add_test(ui_about_tests
    SOURCES qt_test_app.cpp ui_about_test.cpp
    LIBS fourfall_ui Qt6::Test
    LABEL ui
    ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
