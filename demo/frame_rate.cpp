// The frame loop's timing arithmetic: the smoothed frame rate, the title
// text and the per-second frame count.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

#include "demo.h"

FrameLoopState FrameLoop;

void FrameRateUpdate() {
    const int32_t elapsed = static_cast<int32_t>(timeGetTime() - FrameLoop.FrameStart);
    if (elapsed == 0) return;
    const int32_t elapsed2 = static_cast<int32_t>(timeGetTime() - FrameLoop.FrameStart);
    FrameLoop.SmoothedRate = (FrameLoop.SmoothedRate - FrameLoop.SmoothedRate / 40) + 1000 / elapsed2;
}

bool FrameTitleText(int32_t smoothedRate, int32_t framesLastSecond, char* text, size_t size) {
    if (smoothedRate == 0) return false;
    if (smoothedRate / 40 < 1)
        std::snprintf(text, size, "SPF: %ld - %ld", static_cast<long>(40 / smoothedRate),
                      static_cast<long>(framesLastSecond));
    else
        std::snprintf(text, size, "fps: %ld - %ld", static_cast<long>(smoothedRate / 40),
                      static_cast<long>(framesLastSecond));
    return true;
}

void FrameCountUpdate() {
    FrameLoop.FramesThisSecond = FrameLoop.FramesThisSecond + 1;
    if (static_cast<int32_t>(timeGetTime() - FrameLoop.SecondStart) >= 1000) {
        FrameLoop.FramesLastSecond = FrameLoop.FramesThisSecond;
        FrameLoop.FramesThisSecond = 0;
        FrameLoop.SecondStart = timeGetTime();
    }
}

