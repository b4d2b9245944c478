# Where top-level windows live: SDL2 for the program, a virtual screen for tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
target_sources(platform PRIVATE
    host/host.cpp
    host/headless.cpp
    host/sdl.cpp
    host/present.cpp
    host/testing.cpp
)
target_link_libraries(platform PRIVATE PkgConfig::SDL2)

# Linked into a test program, this picks the headless host before main runs.
add_library(platform_headless OBJECT host/use_headless.cpp)
target_include_directories(platform_headless PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(platform_headless PUBLIC platform)
