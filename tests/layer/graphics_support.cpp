#include "graphics_support.h"

#include <cstring>

void GraphicsReset() {
    HANDLE heap = GraphicsState.heap;
    bool heapSurvives = GraphicsState.d3dxLibrary == nullptr;
    GraphicsShutdown();
    if (heapSurvives && heap) HeapDestroy(heap);
    std::memset(&GraphicsState, 0, sizeof GraphicsState);
}

void GraphicsSurfaceTest::SetUp() {
    GraphicsReset();
    window_ = CreateHostWindow(kWidth, kHeight);
    ASSERT_NE(window_, nullptr);
    ASSERT_NE(GraphicsInit(), 0);
    if (GraphicsState.displayMode.Width == 0) GTEST_SKIP() << "no display adapter";
    ASSERT_EQ(ScreenOpen(kWidth, kHeight, 0, window_, 0x282), 1);
}

void GraphicsSurfaceTest::TearDown() {
    GraphicsReset();
    DestroyHostWindow(window_);
    window_ = nullptr;
}

std::vector<uint32_t> GraphicsSurfaceTest::Frame() {
    std::vector<uint32_t> frame(static_cast<size_t>(kWidth) * kHeight, 0);
    D3DLOCKED_RECT locked;
    if (FAILED(GraphicsState.backBuffer->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
        ADD_FAILURE() << "back buffer cannot be locked";
        return frame;
    }
    for (int y = 0; y < kHeight; ++y) {
        const uint32_t* row =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < kWidth; ++x) frame[static_cast<size_t>(y) * kWidth + x] = row[x] & 0xffffffu;
    }
    GraphicsState.backBuffer->UnlockRect();
    return frame;
}

uint32_t GraphicsSurfaceTest::Pixel(int x, int y) { return Frame()[static_cast<size_t>(y) * kWidth + x]; }

void GraphicsSurfaceTest::Fill(uint32_t rgb) {
    GraphicsState.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xff000000u | rgb, 1.0f, 0);
}

Coverage Measure(const std::vector<uint32_t>& frame, int width, uint32_t background) {
    Coverage c;
    c.left = width;
    c.top = static_cast<int>(frame.size()) / width;
    for (size_t i = 0; i < frame.size(); ++i) {
        if (frame[i] == background) continue;
        int x = static_cast<int>(i % static_cast<size_t>(width)), y = static_cast<int>(i / static_cast<size_t>(width));
        ++c.count;
        c.left = std::min(c.left, x);
        c.top = std::min(c.top, y);
        c.right = std::max(c.right, x + 1);
        c.bottom = std::max(c.bottom, y + 1);
    }
    return c;
}
