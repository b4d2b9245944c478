# user32, gdi32 and comctl32 of the stand-in: windows, messages, the BUTTON
# control, the message box, painting and text (FreeType, DejaVu Sans).
find_package(PkgConfig REQUIRED)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
target_sources(platform PRIVATE
    user32/window.cpp
    user32/message.cpp
    user32/paint.cpp
    user32/button.cpp
    user32/msgbox.cpp
    user32/input.cpp
    user32/format.cpp
)
target_link_libraries(platform PRIVATE PkgConfig::FREETYPE)
