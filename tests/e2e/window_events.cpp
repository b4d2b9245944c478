// Opens the demo's window and buttons on the real host and prints every
// event it polls, one a line, until a close request arrives (or 30 seconds
// pass). The end-to-end script drives it with xdotool and reads the lines.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "runtime/runtime.h"
#include "window/window.h"

int main() {
    MainHeap = HeapCreate(0, 4000, 0);
    ObjectHeapCreate();
    WindowInit();
    GadgetInit();
    MessageBoxInit();
    HWND window = WindowOpen(0, 0, 0, 600, 600, 0xCA0001, "");
    if (window == nullptr) {
        std::printf("no window\n");
        return 1;
    }
    GadgetListOpen(window);
    ContainerCreate(4, 0, 0, 600, 580);
    GadgetListClose();
    ButtonCreate(0, 0, 580, 200, 20, "Boom");
    ButtonCreate(1, 200, 580, 200, 20, "Booo...m", 0x1003);
    ButtonCreate(2, 400, 580, 200, 20, "Delete all Particle");

    bool ready = false;
    bool closing = false;
    const DWORD start = GetTickCount();
    while (!closing && GetTickCount() - start < 30000) {
        for (int32_t event = EventPoll(); event != EventKindNone; event = EventPoll()) {
            if (event == EventKindGadget)
                std::printf("event %d gadget %d\n", event, EventGadgetId());
            else
                std::printf("event %d\n", event);
            if (event == EventKindClose) closing = true;
        }
        if (!ready) {
            POINT origin{0, 0};
            ClientToScreen(window, &origin);
            std::printf("ready %d %d\n", static_cast<int>(origin.x), static_cast<int>(origin.y));
            ready = true;
        }
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    WindowShutdown();
    ObjectHeapDestroy();
    HeapDestroy(MainHeap);
    std::printf("end %s\n", closing ? "closed" : "timeout");
    return 0;
}
