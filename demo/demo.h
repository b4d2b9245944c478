// The explosion demo: start-up, the frame loop and shutdown.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct BlitImage;

// The three buttons along the bottom edge.
constexpr int32_t GadgetBoom = 0;
constexpr int32_t GadgetContinuous = 1;
constexpr int32_t GadgetDeleteAll = 2;

// State that start-up sets up.
extern HINSTANCE ModuleInstance;
extern int32_t SoundCopyCount;
extern int32_t SoundCopyIndex;
extern BlitImage* GroundImage;

// The frame loop's own state; times are timeGetTime milliseconds.
struct FrameLoopState {
    uint32_t FrameStart;
    int32_t SmoothedRate;      // about 40 times the frame rate; 0 until a frame was measured
    int32_t FramesThisSecond;
    int32_t FramesLastSecond;
    uint32_t SecondStart;
    int32_t ContinuousMode;
    int32_t QuitRequested;
    int32_t LastEvent;
};
extern FrameLoopState FrameLoop;

// Start-up up to the frame loop. False when the graphics runtime could not be
// loaded; the error box has been shown by then.
bool StartUp(HINSTANCE instance);
// The layers' shutdown calls, in order.
void EndRoutine();
// Start-up, the frame loop, shutdown and ExitProcess(0).
[[noreturn]] void MainProgram(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

// One turn of the frame loop, and its steps.
void FrameTurn();
void FrameLoopRun();
void GroundDraw();
void FrameRateUpdate();
void FrameTitleUpdate();
void FrameCountUpdate();
void ExplosionStep();
void EventDrain();

// The title for a smoothed rate and a per-second count; false (and nothing
// written) while the rate is 0.
bool FrameTitleText(int32_t smoothedRate, int32_t framesLastSecond, char* text, size_t size);
