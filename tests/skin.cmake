# The skinned frame and controls. The Qt tests run under the offscreen
# platform; qt_test_app.cpp starts the application.
if(TARGET fourfall_skin)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  fourfall_add_test(skin_tests
    SOURCES qt_test_app.cpp skin_form_test.cpp skin_controls_test.cpp
    LIBS fourfall_skin Qt6::Test
    LABEL skin
    ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
