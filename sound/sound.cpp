#include "sound/sound.h"

#include <cstring>

#include "runtime/runtime.h"

SoundState SoundLayer;

// On 32-bit Windows the class record is 48 bytes and the first form of the
// buffer description 20.
static_assert(sizeof(void*) != 4 || sizeof(WNDCLASSEXA) == 48, "WNDCLASSEXA as on Win32");
static_assert(sizeof(void*) != 4 || sizeof(DSBUFFERDESC1) == 20, "DSBUFFERDESC1 as on Win32");

namespace {

constexpr int32_t kInitialCapacity = 50;
constexpr int32_t kGrowth = 10;
constexpr const char* kWindowClass = "MultimediaBase Class";
constexpr DWORD kBufferFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                               DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

// Offsets of the WAVE image's fixed fields.
constexpr uint32_t kFormatIdOffset = 12;
constexpr uint32_t kFormatSizeOffset = 16;
constexpr uint32_t kFormatOffset = 20;
constexpr uint32_t kChunkHeaderBytes = 8;
constexpr uint32_t kPlainFormatBytes = 16;  // a format without cbSize

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool CreateSoundWindow() {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof(windowClass));
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = 0;
    windowClass.lpfnWndProc = SoundWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExA(&windowClass) == 0) return false;
    // Never shown, moved or destroyed: it only carries the cooperative level.
    const HWND window = CreateWindowExA(0, kWindowClass, "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 1, 1, nullptr,
                                        nullptr, instance, nullptr);
    if (window == nullptr) return false;
    SoundLayer.window = window;
    SoundLayer.windowCreated = true;
    return true;
}

bool ReadWave(const void* data, bool bounded, uint32_t length, SoundWave& wave) {
    if (data == nullptr) return false;
    const uint8_t* image = static_cast<const uint8_t*>(data);
    if (bounded && length < kFormatOffset) return false;
    if (std::memcmp(image, "RIFF", 4) != 0) return false;
    if (std::memcmp(image + kFormatIdOffset, "fmt ", 4) != 0) return false;
    const uint32_t formatBytes = ReadU32(image + kFormatSizeOffset);
    // 64-bit sums: no size in the image can make them wrap.
    const uint64_t nextChunk = static_cast<uint64_t>(kFormatOffset) + formatBytes;
    if (bounded) {
        if (formatBytes < kPlainFormatBytes) return false;
        if (nextChunk + kChunkHeaderBytes > length) return false;
        if (formatBytes >= sizeof(WAVEFORMATEX)) {
            const WAVEFORMATEX* format = reinterpret_cast<const WAVEFORMATEX*>(image + kFormatOffset);
            if (format->cbSize > formatBytes - sizeof(WAVEFORMATEX)) return false;
        }
    }
    const uint32_t sampleBytes = ReadU32(image + nextChunk + 4);
    const uint64_t samples = nextChunk + kChunkHeaderBytes;
    if (bounded && samples + sampleBytes > length) return false;
    wave.format = reinterpret_cast<const WAVEFORMATEX*>(image + kFormatOffset);
    wave.formatBytes = formatBytes;
    wave.samples = image + samples;
    wave.sampleBytes = sampleBytes;
    return true;
}

IDirectSoundBuffer* Catch(int32_t number, const void* data, bool bounded, uint32_t length) {
    SoundWave wave;
    if (!ReadWave(data, bounded, length, wave)) return nullptr;
    if (SoundLayer.device == nullptr) return nullptr;

    // A format chunk without cbSize is handed over as a whole format with
    // cbSize 0, so that nothing beyond the chunk is taken for format bytes.
    WAVEFORMATEX plain;
    LPWAVEFORMATEX format = const_cast<LPWAVEFORMATEX>(wave.format);
    if (bounded && wave.formatBytes < sizeof(WAVEFORMATEX)) {
        std::memcpy(&plain, wave.format, kPlainFormatBytes);
        plain.cbSize = 0;
        format = &plain;
    }
    DSBUFFERDESC description;
    std::memset(&description, 0, sizeof(description));
    description.dwSize = sizeof(DSBUFFERDESC1);
    description.dwFlags = kBufferFlags;
    description.dwBufferBytes = wave.sampleBytes;
    description.dwReserved = 0;
    description.lpwfxFormat = format;
    IDirectSoundBuffer* buffer = nullptr;
    if (SoundLayer.device->CreateSoundBuffer(&description, &buffer, nullptr) != DS_OK || buffer == nullptr)
        return nullptr;

    LPVOID region1 = nullptr;
    LPVOID region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    if (buffer->Lock(0, wave.sampleBytes, &region1, &bytes1, &region2, &bytes2, 0) != DS_OK) {
        buffer->Release();
        return nullptr;
    }
    // A whole-buffer lock from 0 is one region; the second is only filled
    // should the platform split it.
    const DWORD first = wave.sampleBytes < bytes1 ? wave.sampleBytes : bytes1;
    std::memcpy(region1, wave.samples, first);
    if (region2 != nullptr && first < wave.sampleBytes) {
        const DWORD rest = wave.sampleBytes - first;
        std::memcpy(region2, wave.samples + first, rest < bytes2 ? rest : bytes2);
    }

    IDirectSoundBuffer** entry = SoundEntryFor(number);
    if (entry == nullptr) {
        buffer->Unlock(region1, bytes1, region2, bytes2);
        buffer->Release();
        return nullptr;
    }
    SoundEntryRelease(number);
    *entry = buffer;
    buffer->Unlock(region1, bytes1, region2, bytes2);
    return buffer;
}

}  // namespace

int32_t SoundInit() {
    SoundLayer.table.capacity = kInitialCapacity;
    SoundLayer.table.entries = static_cast<IDirectSoundBuffer**>(
        HeapAlloc(MainHeap, HEAP_ZERO_MEMORY, (kInitialCapacity + 1) * sizeof(IDirectSoundBuffer*)));
    if (SoundLayer.table.entries == nullptr) {
        SoundLayer.table.capacity = 0;
        return 0;
    }
    if (!SoundLayer.windowCreated && !CreateSoundWindow()) return 0;

    SoundLayer.library = LoadLibraryA("DSOUND.DLL");
    if (SoundLayer.library == nullptr) return 0;
    // Through the generic function type, which converts to any other.
    SoundLayer.create = reinterpret_cast<DirectSoundCreateFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(SoundLayer.library, "DirectSoundCreate")));
    if (SoundLayer.create == nullptr) return 0;
    if (SoundLayer.create(nullptr, &SoundLayer.device, nullptr) != DS_OK) {
        SoundLayer.device = nullptr;
        return 0;
    }
    if (SoundLayer.device->SetCooperativeLevel(SoundLayer.window, DSSCL_PRIORITY) != DS_OK) return 0;
    return 1;
}

void SoundShutdown() {
    for (int32_t number = 0; number < SoundLayer.table.capacity; ++number) SoundEntryRelease(number);
    if (SoundLayer.device != nullptr) {
        SoundLayer.device->Release();
        SoundLayer.device = nullptr;
    }
    if (SoundLayer.library != nullptr) {
        FreeLibrary(SoundLayer.library);
        SoundLayer.library = nullptr;
        SoundLayer.create = nullptr;
    }
}

LRESULT CALLBACK SoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 1;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_ACTIVATE:
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

IDirectSoundBuffer** SoundEntryFor(int32_t number) {
    SoundTable& table = SoundLayer.table;
    if (number < 0) return nullptr;
    if (number >= table.capacity || table.entries == nullptr) {
        if (number > INT32_MAX - kGrowth - 1) return nullptr;
        const int32_t capacity = number + kGrowth;
        const uint64_t bytes = (static_cast<uint64_t>(capacity) + 1) * sizeof(IDirectSoundBuffer*);
        if (static_cast<uint64_t>(static_cast<SIZE_T>(bytes)) != bytes) return nullptr;
        void* grown = table.entries == nullptr
                          ? HeapAlloc(MainHeap, HEAP_ZERO_MEMORY, static_cast<SIZE_T>(bytes))
                          : HeapReAlloc(MainHeap, HEAP_ZERO_MEMORY, table.entries, static_cast<SIZE_T>(bytes));
        if (grown == nullptr) return nullptr;
        table.entries = static_cast<IDirectSoundBuffer**>(grown);
        table.capacity = capacity;
    }
    return &table.entries[number];
}

IDirectSoundBuffer* SoundEntryFind(int32_t number) {
    const SoundTable& table = SoundLayer.table;
    if (number < 0 || number > table.capacity || table.entries == nullptr) return nullptr;
    return table.entries[number];
}

void SoundEntryRelease(int32_t number) {
    IDirectSoundBuffer* buffer = SoundEntryFind(number);
    if (buffer == nullptr) return;
    buffer->Release();
    SoundLayer.table.entries[number] = nullptr;
}

bool SoundWaveRead(const void* data, SoundWave& wave) { return ReadWave(data, false, 0, wave); }

bool SoundWaveRead(const void* data, uint32_t length, SoundWave& wave) { return ReadWave(data, true, length, wave); }

IDirectSoundBuffer* SoundCatch(int32_t number, const void* data) { return Catch(number, data, false, 0); }

IDirectSoundBuffer* SoundCatch(int32_t number, const void* data, uint32_t length) {
    return Catch(number, data, true, length);
}

HRESULT SoundPlay(int32_t number, uint32_t flags) {
    IDirectSoundBuffer* buffer = SoundEntryFind(number);
    if (buffer == nullptr) return 0;
    const DWORD playFlags = flags != 0 ? DSBPLAY_LOOPING : 0;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    return buffer->Play(0, 0, playFlags);
}
