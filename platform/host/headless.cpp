// The headless host: top-level windows on a virtual screen of 1024 by 768
// pixels that tests read, with input that tests inject. No display needed.
#include <chrono>
#include <thread>

#include "host/host.h"

namespace host {
namespace {

class HeadlessHost : public Host {
public:
    bool DisplayMode(int* width, int* height) override {
        if (width) *width = 1024;
        if (height) *height = 768;
        return true;
    }
    void WindowChanged(user32::Window*) override {}
    void WindowDestroyed(user32::Window*) override {}
    void SurfaceChanged(user32::Window*) override {}
    void Pump() override {}
    void Wait(DWORD milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds ? milliseconds : 1));
    }
};

}  // namespace

Host* Headless() {
    static HeadlessHost host;
    return &host;
}

}  // namespace host
