// Where the stand-in's top-level windows live: an SDL2 window each (the
// program) or a virtual screen (tests). user32 tells the host what changed;
// the host feeds input back through user32's queue.
#pragma once

#include "user32/internal.h"

namespace host {

struct Host {
    virtual ~Host() = default;
    virtual bool DisplayMode(int* width, int* height) = 0;
    virtual void WindowChanged(user32::Window* window) = 0;  // shown, hidden, moved, resized, retitled
    virtual void WindowDestroyed(user32::Window* window) = 0;
    virtual void SurfaceChanged(user32::Window* window) = 0;  // new pixels to show
    virtual void Pump() = 0;                                  // moves pending input into the queue
    virtual void Wait(DWORD milliseconds) = 0;                // sleeps until input or the time is up
};

// The host in use: the headless one if a test asked for it, otherwise SDL2,
// otherwise (no display at all) none.
Host* Current();
Host* Headless();
void UseHeadless();

}  // namespace host
