// Shared by the graphics layer tests: PNG files made in memory, a host
// window, and a fixture with an open 600 by 580 surface whose back buffer
// the tests read.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/graphics.h"
#include "graphics_files.h"

// Gives back everything the layer holds, even after a failed GraphicsInit,
// and zeroes GraphicsState for the next test.
void GraphicsReset();

class GraphicsSurfaceTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 600;
    static constexpr int kHeight = 580;

    void SetUp() override;
    void TearDown() override;

    // The back buffer's pixel at (x, y), RGB only.
    uint32_t Pixel(int x, int y);
    // Copies the whole back buffer, RGB only.
    std::vector<uint32_t> Frame();
    void Fill(uint32_t rgb);

    HWND window_ = nullptr;
};

// Counts the pixels of `frame` that differ from `background`, and their
// bounding box (right and bottom exclusive).
struct Coverage {
    int count = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
};
Coverage Measure(const std::vector<uint32_t>& frame, int width, uint32_t background);

// Red, green and blue of a pixel.
inline int Red(uint32_t p) { return static_cast<int>((p >> 16) & 0xff); }
inline int Green(uint32_t p) { return static_cast<int>((p >> 8) & 0xff); }
inline int Blue(uint32_t p) { return static_cast<int>(p & 0xff); }
