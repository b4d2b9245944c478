// "DSOUND.DLL": the DirectSound device and its secondary buffers, mixed by
// the stand-in's mixer into the system audio output or, for tests, into
// memory.
#include <dsound.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "kernel32/modules.h"
#include "mixer.h"
#include "output.h"
#include "testing.h"

namespace dsound {

namespace {

constexpr GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kIidDirectSound = {0x279AFA83, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
constexpr GUID kIidDirectSoundBuffer = {0x279AFA85, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

enum class OutputMode { System, Memory, None };

// Test controls and what they observe.
struct Controls {
    std::mutex lock;
    OutputMode mode = OutputMode::System;
    DWORD memoryRate = 44100;
    WORD memoryChannels = 2;
    std::shared_ptr<Mixer> memoryMixer;  // the mixer of the live memory device
    void* memoryDevice = nullptr;
    void (*releaseHook)(const void*) = nullptr;
    int buffers = 0;
    int devices = 0;
};

Controls& TheControls() {
    static Controls* controls = new Controls;
    return *controls;
}

void ReportRelease(const void* object) {
    void (*hook)(const void*);
    {
        Controls& controls = TheControls();
        std::lock_guard<std::mutex> guard(controls.lock);
        hook = controls.releaseHook;
    }
    if (hook != nullptr) hook(object);
}

void CountObjects(int buffers, int devices) {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> guard(controls.lock);
    controls.buffers += buffers;
    controls.devices += devices;
}

// A format the mixer plays: PCM, mono or stereo, 8 or 16 bits, consistent
// block alignment and a rate that DirectSound accepts.
bool PlayableFormat(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (format.nChannels != 1 && format.nChannels != 2) return false;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return false;
    if (format.nBlockAlign != format.nChannels * format.wBitsPerSample / 8) return false;
    return format.nSamplesPerSec >= DSBFREQUENCY_MIN && format.nSamplesPerSec <= DSBFREQUENCY_MAX;
}

class Buffer final : public IDirectSoundBuffer {
public:
    Buffer(std::shared_ptr<Mixer> mixer, const WAVEFORMATEX& format, DWORD bytes, DWORD flags)
        : mixer_(std::move(mixer)), format_(format), flags_(flags) {
        format_.cbSize = 0;
        voice_.channels = format.nChannels;
        voice_.bitsPerSample = format.wBitsPerSample;
        voice_.rate = format.nSamplesPerSec;
        voice_.frameBytes = format.nBlockAlign;
        voice_.frames = bytes / format.nBlockAlign;
        // New buffers hold silence.
        voice_.data.assign(bytes, format.wBitsPerSample == 8 ? 0x80 : 0);
        std::lock_guard<std::mutex> guard(mixer_->Lock());
        mixer_->Add(&voice_);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (SameGuid(riid, kIidUnknown) || SameGuid(riid, kIidDirectSoundBuffer)) {
            AddRef();
            *object = static_cast<IDirectSoundBuffer*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            {
                std::lock_guard<std::mutex> guard(mixer_->Lock());
                mixer_->Remove(&voice_);
            }
            CountObjects(-1, 0);
            ReportRelease(this);
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS caps) override {
        if (caps == nullptr || caps->dwSize < sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
        caps->dwFlags = (flags_ & ~DSBCAPS_LOCHARDWARE) | DSBCAPS_LOCSOFTWARE;
        caps->dwBufferBytes = static_cast<DWORD>(voice_.data.size());
        caps->dwUnlockTransferRate = 0;
        caps->dwPlayCpuOverhead = 0;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) override {
        std::lock_guard<std::mutex> guard(mixer_->Lock());
        const DWORD play = static_cast<DWORD>(voice_.position >> 32) * voice_.frameBytes;
        if (playCursor != nullptr) *playCursor = play;
        if (writeCursor != nullptr) *writeCursor = play;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) override {
        if (format == nullptr && sizeWritten == nullptr) return DSERR_INVALIDPARAM;
        if (format == nullptr) {
            *sizeWritten = sizeof(WAVEFORMATEX);
            return DS_OK;
        }
        const DWORD size = sizeAllocated < sizeof(WAVEFORMATEX) ? sizeAllocated : sizeof(WAVEFORMATEX);
        std::memcpy(format, &format_, size);
        if (sizeWritten != nullptr) *sizeWritten = size;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override {
        if (status == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(mixer_->Lock());
        *status = voice_.playing ? (DSBSTATUS_PLAYING | (voice_.looping ? DSBSTATUS_LOOPING : 0)) : 0;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* audioPtr1, LPDWORD audioBytes1,
                                   LPVOID* audioPtr2, LPDWORD audioBytes2, DWORD flags) override {
        const DWORD size = static_cast<DWORD>(voice_.data.size());
        if (audioPtr1 == nullptr || audioBytes1 == nullptr) return DSERR_INVALIDPARAM;
        if (flags & DSBLOCK_FROMWRITECURSOR) GetCurrentPosition(nullptr, &offset);
        if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
        if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
        uint8_t* base = voice_.data.data();
        *audioPtr1 = base + offset;
        if (offset + bytes <= size) {
            *audioBytes1 = bytes;
            if (audioPtr2 != nullptr) *audioPtr2 = nullptr;
            if (audioBytes2 != nullptr) *audioBytes2 = 0;
        } else {
            // The region wraps around the end: the rest comes from the start.
            *audioBytes1 = size - offset;
            if (audioPtr2 != nullptr) *audioPtr2 = base;
            if (audioBytes2 != nullptr) *audioBytes2 = bytes - (size - offset);
        }
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Play(DWORD reserved1, DWORD priority, DWORD flags) override {
        if (reserved1 != 0 || priority != 0) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(mixer_->Lock());
        voice_.playing = voice_.frames > 0;
        voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD newPosition) override {
        if (newPosition >= voice_.data.size()) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(mixer_->Lock());
        voice_.position = static_cast<uint64_t>(newPosition / voice_.frameBytes) << 32;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Stop() override {
        std::lock_guard<std::mutex> guard(mixer_->Lock());
        voice_.playing = false;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Unlock(LPVOID audioPtr1, DWORD audioBytes1, LPVOID audioPtr2,
                                     DWORD audioBytes2) override {
        if (!Inside(audioPtr1, audioBytes1) || (audioPtr2 != nullptr && !Inside(audioPtr2, audioBytes2)))
            return DSERR_INVALIDPARAM;
        return DS_OK;
    }

private:
    ~Buffer() = default;

    bool Inside(const void* region, DWORD bytes) const {
        const uint8_t* start = voice_.data.data();
        const uint8_t* p = static_cast<const uint8_t*>(region);
        return p >= start && p <= start + voice_.data.size() &&
               bytes <= static_cast<size_t>(start + voice_.data.size() - p);
    }

    std::atomic<ULONG> references_{1};
    std::shared_ptr<Mixer> mixer_;
    WAVEFORMATEX format_;
    DWORD flags_;
    Voice voice_;
};

class Device final : public IDirectSound {
public:
    Device(std::shared_ptr<Mixer> mixer, std::unique_ptr<Output> output)
        : mixer_(std::move(mixer)), output_(std::move(output)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (SameGuid(riid, kIidUnknown) || SameGuid(riid, kIidDirectSound)) {
            AddRef();
            *object = static_cast<IDirectSound*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            output_.reset();  // playback stops before the device goes
            {
                Controls& controls = TheControls();
                std::lock_guard<std::mutex> guard(controls.lock);
                if (controls.memoryDevice == this) {
                    controls.memoryDevice = nullptr;
                    controls.memoryMixer.reset();
                }
            }
            CountObjects(0, -1);
            ReportRelease(this);
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer,
                                                LPUNKNOWN outer) override {
        if (buffer == nullptr) return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer != nullptr) return DSERR_NOAGGREGATION;
        if (description == nullptr) return DSERR_INVALIDPARAM;
        if (description->dwSize != sizeof(DSBUFFERDESC1) && description->dwSize != sizeof(DSBUFFERDESC))
            return DSERR_INVALIDPARAM;
        // Only secondary buffers without 3-D control are offered.
        if (description->dwFlags & (DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D)) return DSERR_UNSUPPORTED;
        if (description->lpwfxFormat == nullptr) return DSERR_INVALIDPARAM;
        const DWORD bytes = description->dwBufferBytes;
        if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
        WAVEFORMATEX format;
        std::memcpy(&format, description->lpwfxFormat, sizeof(format));
        if (!PlayableFormat(format)) return DSERR_BADFORMAT;
        Buffer* made = new (std::nothrow) Buffer(mixer_, format, bytes, description->dwFlags);
        if (made == nullptr) return DSERR_OUTOFMEMORY;
        CountObjects(1, 0);
        *buffer = made;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) override {
        if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
        level_ = level;
        return DS_OK;
    }

private:
    ~Device() = default;

    std::atomic<ULONG> references_{1};
    std::shared_ptr<Mixer> mixer_;
    std::unique_ptr<Output> output_;
    DWORD level_ = 0;
};

}  // namespace

}  // namespace dsound

using namespace dsound;

HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* directSound, LPUNKNOWN outer) {
    if (directSound == nullptr) return DSERR_INVALIDPARAM;
    *directSound = nullptr;
    if (outer != nullptr) return DSERR_NOAGGREGATION;
    // Only the default output exists.
    if (device != nullptr) return DSERR_NODRIVER;

    Controls& controls = TheControls();
    OutputMode mode;
    DWORD rate;
    WORD channels;
    {
        std::lock_guard<std::mutex> guard(controls.lock);
        mode = controls.mode;
        rate = controls.memoryRate;
        channels = controls.memoryChannels;
    }
    if (mode == OutputMode::None) return DSERR_NODRIVER;
    std::shared_ptr<Mixer> mixer;
    std::unique_ptr<Output> output;
    if (mode == OutputMode::System) {
        output = OpenSystemOutput(mixer);
        if (output == nullptr) return DSERR_NODRIVER;
    } else {
        mixer = std::make_shared<Mixer>(rate, channels);
    }
    Device* made = new Device(mixer, std::move(output));
    CountObjects(0, 1);
    if (mode == OutputMode::Memory) {
        std::lock_guard<std::mutex> guard(controls.lock);
        controls.memoryDevice = made;
        controls.memoryMixer = mixer;
    }
    *directSound = made;
    return DS_OK;
}

void PlatformSoundUseSystemOutput() {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> guard(controls.lock);
    controls.mode = OutputMode::System;
}

void PlatformSoundUseMemoryOutput(DWORD rate, WORD channels) {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> guard(controls.lock);
    controls.mode = OutputMode::Memory;
    controls.memoryRate = rate;
    controls.memoryChannels = channels;
}

void PlatformSoundUseNoOutput() {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> guard(controls.lock);
    controls.mode = OutputMode::None;
}

bool PlatformSoundRender(int16_t* samples, DWORD frames) {
    std::shared_ptr<Mixer> mixer;
    {
        Controls& controls = TheControls();
        std::lock_guard<std::mutex> guard(controls.lock);
        mixer = controls.memoryMixer;
    }
    if (mixer == nullptr) return false;
    mixer->Render(samples, frames);
    return true;
}

void PlatformSoundOnRelease(void (*hook)(const void* object)) {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> guard(controls.lock);
    controls.releaseHook = hook;
}

int PlatformSoundBufferCount() {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> guard(controls.lock);
    return controls.buffers;
}

int PlatformSoundDeviceCount() {
    Controls& controls = TheControls();
    std::lock_guard<std::mutex> guard(controls.lock);
    return controls.devices;
}

void PlatformDsoundRegister() {
    static const PlatformExport exports[] = {
        // Through the generic function type, which converts to any other.
        {"DirectSoundCreate", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&DirectSoundCreate))},
    };
    PlatformModuleRegister("DSOUND.DLL", exports, sizeof(exports) / sizeof(exports[0]));
}
