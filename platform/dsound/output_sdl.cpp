// The system audio output through SDL2. The mixer runs on SDL's audio thread.
#include <SDL.h>

#include <mutex>
#include <set>

#include "kernel32/modules.h"
#include "output.h"

namespace dsound {

namespace {

constexpr int kRate = 44100;
constexpr Uint16 kBlockFrames = 1024;

std::mutex openLock;
std::set<SDL_AudioDeviceID>* openDevices = new std::set<SDL_AudioDeviceID>;

void Feed(void* userData, Uint8* stream, int length) {
    Mixer* mixer = static_cast<Mixer*>(userData);
    const uint32_t frames = static_cast<uint32_t>(length) / (2u * mixer->Channels());
    mixer->Render(reinterpret_cast<int16_t*>(stream), frames);
}

// Stops every open output before the process ends, so that no audio thread
// runs while the process tears down.
void CloseAll() {
    std::lock_guard<std::mutex> guard(openLock);
    for (SDL_AudioDeviceID id : *openDevices) {
        SDL_CloseAudioDevice(id);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    openDevices->clear();
}

class SdlOutput final : public Output {
public:
    SdlOutput(SDL_AudioDeviceID id, std::shared_ptr<Mixer> mixer) : id_(id), mixer_(std::move(mixer)) {}
    ~SdlOutput() override {
        std::lock_guard<std::mutex> guard(openLock);
        if (openDevices->erase(id_) == 0) return;  // already closed at exit
        SDL_CloseAudioDevice(id_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

private:
    SDL_AudioDeviceID id_;
    std::shared_ptr<Mixer> mixer_;  // kept alive while SDL may call it
};

}  // namespace

std::unique_ptr<Output> OpenSystemOutput(std::shared_ptr<Mixer>& mixer) {
    static std::once_flag hook;
    std::call_once(hook, [] { PlatformAtExit(CloseAll); });

    std::lock_guard<std::mutex> guard(openLock);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
    // No changes allowed: SDL converts from 44100 Hz 16-bit stereo to
    // whatever the hardware takes, so the mixer always makes that format.
    auto made = std::make_shared<Mixer>(kRate, 2);
    SDL_AudioSpec want{};
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kBlockFrames;
    want.callback = Feed;
    want.userdata = made.get();
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    openDevices->insert(id);
    mixer = made;
    SDL_PauseAudioDevice(id, 0);
    return std::make_unique<SdlOutput>(id, made);
}

}  // namespace dsound
