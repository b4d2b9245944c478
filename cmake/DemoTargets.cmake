# Compile options shared by every target of the project.
add_library(demo_options INTERFACE)
target_include_directories(demo_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(demo_options INTERFACE -Wall -Wextra
    # Single precision stays single precision: no fused multiply-add, and on
    # win32 SSE arithmetic instead of the x87's wider registers.
    -ffp-contract=off)
if(DEMO_WERROR)
    target_compile_options(demo_options INTERFACE -Werror)
endif()
if(DEMO_WIN32)
    target_compile_options(demo_options INTERFACE -msse2 -mfpmath=sse)
    target_compile_definitions(demo_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

# The platform under the system code: the Windows libraries on win32, the
# project's stand-in natively.
add_library(demo_platform INTERFACE)
if(DEMO_WIN32)
    target_link_libraries(demo_platform INTERFACE winmm)
endif()
