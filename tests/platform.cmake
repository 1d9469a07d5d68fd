fourfall_add_test(platform_bmp_tests SOURCES platform_bmp_decode_test.cpp LIBS fourfall_bmp
  LABEL platform)
if(TARGET fourfall_platform)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  fourfall_add_test(platform_bitmap_tests SOURCES platform_bitmap_test.cpp
    LIBS fourfall_platform LABEL platform)
  target_compile_definitions(platform_bitmap_tests PRIVATE
    FOURFALL_IMAGES_DIR="${PROJECT_SOURCE_DIR}/images")
  fourfall_add_test(platform_widget_tests SOURCES platform_paint_box_test.cpp
    platform_application_test.cpp qt_test_app.cpp
    LIBS fourfall_platform Qt6::Test LABEL platform ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()
