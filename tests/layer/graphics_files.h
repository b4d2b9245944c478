// PNG files made in memory and a plain host window, for the graphics tests
// and the benchmark.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// A PNG file of `width` by `height` A8R8G8B8 pixels (rows packed); with
// `alpha` false the file is RGB and the alpha bytes are dropped.
std::vector<uint8_t> MakePng(int width, int height, const std::vector<uint32_t>& pixels, bool alpha);
std::vector<uint8_t> SolidPng(int width, int height, uint32_t argb, bool alpha);

// A plain top-level window to host a render surface; DestroyHostWindow ends it.
HWND CreateHostWindow(int clientWidth, int clientHeight);
void DestroyHostWindow(HWND window);

