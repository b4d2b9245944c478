# "DSOUND.DLL": device, secondary buffers and the mixer; output through SDL2.
find_package(PkgConfig REQUIRED)
pkg_check_modules(DSOUND_SDL2 REQUIRED IMPORTED_TARGET sdl2)
target_sources(platform PRIVATE
    dsound/dsound.cpp
    dsound/mixer.cpp
    dsound/output_sdl.cpp
)
target_link_libraries(platform PRIVATE PkgConfig::DSOUND_SDL2)
