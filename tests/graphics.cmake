# Graphics layer tests. The layer tests run on both targets: natively over
# the stand-in with the headless host, for win32 under Wine's d3d9 and d3dx9.
set(GRAPHICS_TEST_SOURCES
    layer/graphics_files.cpp
    layer/graphics_support.cpp
    layer/graphics_init_test.cpp
    layer/graphics_screen_test.cpp
    layer/graphics_draw_test.cpp)
if(DEMO_WIN32)
    demo_test(graphics_layer_tests SOURCES ${GRAPHICS_TEST_SOURCES} LIBS demo_draw LABEL layer)
    # GraphicsInit with D3DX9 libraries disabled in Wine: the search goes on
    # to the next version, and fails when none is left.
    add_test(NAME graphics_layer_tests.d3dx24 COMMAND graphics_layer_tests --gtest_filter=GraphicsInitTest.*)
    add_test(NAME graphics_layer_tests.no_d3dx COMMAND graphics_layer_tests --gtest_filter=GraphicsInitTest.*)
    set_tests_properties(graphics_layer_tests.d3dx24 PROPERTIES
        ENVIRONMENT "WINEDLLOVERRIDES=d3dx9_27,d3dx9_26,d3dx9_25=d\;mscoree,mshtml=;GRAPHICS_EXPECT_D3DX=d3dx9_24.dll")
    set_tests_properties(graphics_layer_tests.no_d3dx PROPERTIES
        ENVIRONMENT "WINEDLLOVERRIDES=d3dx9_27,d3dx9_26,d3dx9_25,d3dx9_24=d\;mscoree,mshtml=;GRAPHICS_EXPECT_D3DX=none")
    set_tests_properties(graphics_layer_tests.d3dx24 graphics_layer_tests.no_d3dx PROPERTIES
        FIXTURES_REQUIRED wine SKIP_RETURN_CODE 77 LABELS "win32;layer")
else()
    demo_test(graphics_layer_tests
        SOURCES ${GRAPHICS_TEST_SOURCES} layer/graphics_init_native_test.cpp
        LIBS demo_draw platform_testing platform_headless LABEL layer)
endif()
