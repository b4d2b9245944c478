# Sound layer tests. The layer tests run on both targets; natively their
# device mixes into memory.
set(SOUND_LAYER_TEST_SOURCES layer/sound_layer_test.cpp layer/sound_wave_test.cpp)
if(DEMO_WIN32)
    demo_test(sound_layer_tests SOURCES ${SOUND_LAYER_TEST_SOURCES} LIBS sound_layer LABEL layer)
else()
    demo_test(sound_layer_tests
        SOURCES ${SOUND_LAYER_TEST_SOURCES} layer/sound_memory_output.cpp
        LIBS sound_layer platform_testing LABEL layer)
    # The stand-in's device, buffers and mixer, and playback heard through it.
    demo_test(sound_native_tests
        SOURCES layer/sound_mixer_test.cpp layer/sound_playback_test.cpp
        LIBS sound_layer platform_testing LABEL layer)
endif()
