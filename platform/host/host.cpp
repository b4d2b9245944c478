// Picks the host: headless when a test asked for it, otherwise SDL2 if a
// display can be opened, otherwise none (no display at all).
#include "host/host.h"

namespace host {

Host* CreateSdl();  // null when SDL2 finds no display

namespace {
bool headlessChosen = false;
bool decided = false;
Host* current = nullptr;
}  // namespace

void UseHeadless() {
    headlessChosen = true;
    decided = true;
    current = Headless();
}

Host* Current() {
    if (!decided) {
        decided = true;
        current = headlessChosen ? Headless() : CreateSdl();
    }
    return current;
}

}  // namespace host
