// With no display at all: no host, PlatformDisplayMode is false, and the
// message box goes to stderr and returns as if OK was pressed. Exits 0 when
// all of that holds.
#include <windows.h>

#include <cstdio>

#include "host/present.h"
#include "runtime/runtime.h"
#include "window/window.h"

int main() {
    MainHeap = HeapCreate(0, 4000, 0);
    ObjectHeapCreate();
    MessageBoxInit();
    int width = 0, height = 0;
    if (PlatformDisplayMode(&width, &height)) {
        std::printf("a display was found\n");
        return 1;
    }
    const int result = MessageBoxShow("Error", "The graphics runtime is missing.", MB_OK | MB_ICONHAND);
    std::printf("result %d\n", result);
    ObjectHeapDestroy();
    HeapDestroy(MainHeap);
    return result == IDOK ? 0 : 1;
}
