# Window layer tests. The layer tests run on both targets: natively on the
# headless host, for win32 under Wine on the fixture's Xvfb.
set(WINDOW_LAYER_TEST_SOURCES
    layer/window_open_test.cpp
    layer/window_gadget_test.cpp
    layer/window_event_test.cpp
    layer/window_platform_test.cpp)
if(DEMO_WIN32)
    demo_test(window_layer_tests SOURCES ${WINDOW_LAYER_TEST_SOURCES} LIBS window_layer LABEL layer)
else()
    demo_test(window_layer_tests SOURCES ${WINDOW_LAYER_TEST_SOURCES} LIBS window_layer platform_headless LABEL layer)
    # The stand-in's own workings: pixels of the virtual screen, injected input.
    demo_test(window_native_tests SOURCES layer/window_native_test.cpp
        LIBS window_layer platform_testing platform_headless LABEL layer)
endif()

if(NOT DEMO_WIN32)
    # End to end on the SDL host, under an Xvfb of its own, driven with xdotool.
    add_executable(window_e2e e2e/window_events.cpp)
    target_link_libraries(window_e2e PRIVATE window_layer demo_options)
    add_test(NAME window_e2e
        COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/e2e/window_events.sh $<TARGET_FILE:window_e2e>
                ${CMAKE_CURRENT_BINARY_DIR}/window_e2e_run)
    set_tests_properties(window_e2e PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120 LABELS e2e)
endif()

if(NOT DEMO_WIN32)
    # Without any display the message box writes to stderr and returns OK.
    add_executable(window_no_display e2e/no_display.cpp)
    target_link_libraries(window_no_display PRIVATE window_layer demo_options)
    target_include_directories(window_no_display PRIVATE ${PROJECT_SOURCE_DIR}/platform)
    add_test(NAME window_no_display
        COMMAND sh -c "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER= \"$0\" 2>&1 | grep -qx 'Error: The graphics runtime is missing.'"
                $<TARGET_FILE:window_no_display>)
    set_tests_properties(window_no_display PROPERTIES LABELS e2e TIMEOUT 60)
endif()
