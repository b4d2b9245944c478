# Tests of the demo program and its assets.

# The embedded assets: formats, lengths and the sound, on both targets. The
# icon and manifest are embedded for the tests as well, to read them here.
include(${PROJECT_SOURCE_DIR}/cmake/EmbedAssets.cmake)
set(ASSETS_SOURCE_DIR ${PROJECT_SOURCE_DIR}/assets)
add_library(assets_test_files STATIC)
demo_embed_assets(assets_test_files FILES
    ${ASSETS_SOURCE_DIR}/explosion.ico IconFile
    ${ASSETS_SOURCE_DIR}/explosion.manifest ManifestFile)
target_link_libraries(assets_test_files PRIVATE demo_options)

# The file sizes, measured here, against which the embedded lengths are
# checked; a changed asset reconfigures.
set(ASSET_FILE_SIZES)
foreach(pair ground.png:GROUND_PNG smoke.png:SMOKE_PNG fire.png:FIRE_PNG scorch.png:SCORCH_PNG
             explosion.wav:EXPLOSION_WAV explosion.ico:ICON)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 file)
    list(GET pair 1 macro)
    file(SIZE ${ASSETS_SOURCE_DIR}/${file} size)
    list(APPEND ASSET_FILE_SIZES ${macro}_FILE_SIZE=${size})
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ASSETS_SOURCE_DIR}/${file})
endforeach()

demo_test(assets_tests SOURCES unit/assets_test.cpp LIBS demo_assets assets_test_files)
target_compile_definitions(assets_tests PRIVATE ${ASSET_FILE_SIZES})

# The pictures as the D3DX9 library reports them: Wine's on win32, the
# stand-in's natively.
demo_test(assets_d3dx_tests SOURCES unit/assets_d3dx_test.cpp LIBS demo_assets demo_platform LABEL layer)

if(DEMO_WIN32)
    # The icon and manifest resources as Windows finds them.
    demo_test(assets_resource_tests SOURCES unit/assets_resource_test.cpp
        LIBS demo_resources assets_test_files user32 gdi32)
else()
    # The pictures decoded with libpng, and compared with the files.
    find_package(PNG REQUIRED)
    demo_test(assets_png_tests SOURCES unit/assets_png_test.cpp LIBS demo_assets PNG::PNG)
    target_compile_definitions(assets_png_tests PRIVATE ASSETS_DIR="${ASSETS_SOURCE_DIR}")

    # The generator reproduces the committed files byte for byte.
    if(TARGET assetgen)
        add_test(NAME assets.generator.reproduces
            COMMAND ${CMAKE_COMMAND} -DGENERATOR=$<TARGET_FILE:assetgen> -DASSETS=${ASSETS_SOURCE_DIR}
                    -DWORK=${CMAKE_CURRENT_BINARY_DIR}/assets-regenerated
                    -P ${PROJECT_SOURCE_DIR}/tools/assetgen/reproduce.cmake)
        set_tests_properties(assets.generator.reproduces PROPERTIES LABELS unit)
    endif()
endif()
