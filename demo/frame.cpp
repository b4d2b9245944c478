// The frame loop: ground, particles, present, frame rate and title,
// continuous mode, and the drain of every waiting event.
#include <windows.h>
#include <mmsystem.h>

#include "demo.h"
#include "graphics/graphics.h"
#include "particle.h"
#include "sound/sound.h"
#include "window/window.h"

void GroundDraw() {
    // A missing ground image has no size to step by; the surface then simply
    // keeps whatever it shows.
    if (GroundImage == nullptr) return;
    for (int32_t y = 0; y < 600; y += BlitImageHeight(GroundImage)) {
        for (int32_t x = 0; x < 600; x += BlitImageWidth(GroundImage)) BlitImageDraw(GroundImage, x, y);
    }
}

void FrameTitleUpdate() {
    char title[64];
    if (FrameTitleText(FrameLoop.SmoothedRate, FrameLoop.FramesLastSecond, title, sizeof title))
        WindowSetTitle(0, title);
}

void ExplosionStep() {
    const int32_t y = RandomInt(600);
    const int32_t x = RandomInt(600);
    Explode(x, y);
    SoundPlay(SoundCopyIndex % SoundCopyCount, 0);
    SoundCopyIndex = SoundCopyIndex + 1;
}

void EventDrain() {
    do {
        FrameLoop.LastEvent = EventPoll();
        if (FrameLoop.LastEvent == EventKindGadget) {
            switch (EventGadgetId()) {
                case GadgetBoom: ExplosionStep(); break;
                case GadgetContinuous: FrameLoop.ContinuousMode ^= 1; break;
                case GadgetDeleteAll: ListClear(ParticleList); break;
                default: break;
            }
        } else if (FrameLoop.LastEvent == EventKindClose) {
            FrameLoop.QuitRequested = 1;
        }
    } while (FrameLoop.LastEvent != EventKindNone);
}

void FrameTurn() {
    FrameLoop.FrameStart = timeGetTime();
    GroundDraw();
    QuadPassBegin();
    ParticlePass();
    QuadPassEnd();
    ScreenFlip();
    FrameRateUpdate();
    FrameTitleUpdate();
    FrameCountUpdate();
    if (FrameLoop.ContinuousMode != 0) ExplosionStep();
    EventDrain();
}

void FrameLoopRun() {
    do FrameTurn();
    while (FrameLoop.QuitRequested == 0);
}
