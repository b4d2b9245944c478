// Sound layer: the DirectSound device, loaded at run time and bound to a
// hidden window, and numbered sounds made from in-memory WAVE images.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdint>

typedef HRESULT(WINAPI* DirectSoundCreateFunction)(LPCGUID device, LPDIRECTSOUND* directSound, LPUNKNOWN outer);

// The numbered sounds. Entry n holds sound n's buffer, or null; the table
// owns the one reference to each buffer.
struct SoundTable {
    int32_t capacity;              // numbers 0 to capacity address an entry
    IDirectSoundBuffer** entries;  // capacity + 1 entries in MainHeap
};

// The layer's state, zero at program start.
struct SoundState {
    HMODULE library;                   // "DSOUND.DLL"
    DirectSoundCreateFunction create;  // its DirectSoundCreate
    IDirectSound* device;
    HWND window;  // SoundWindow, to which the cooperative level is bound
    bool windowCreated;
    SoundTable table;
};
extern SoundState SoundLayer;

// Makes the table, SoundWindow and the device; nonzero when the device is
// ready, 0 at the first step that failed (keeping what earlier steps made).
int32_t SoundInit();
// Releases every sound in number order, then the device, and unloads the
// library. Safe whatever SoundInit did.
void SoundShutdown();

LRESULT CALLBACK SoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The entry for a number, growing the table to number + 10 when the number
// reaches its capacity; null for a negative number or when the heap cannot
// hold the grown table.
IDirectSoundBuffer** SoundEntryFor(int32_t number);
// The sound of a number, or null when it has none or lies outside the table.
IDirectSoundBuffer* SoundEntryFind(int32_t number);
// Releases the sound of a number, if it has one.
void SoundEntryRelease(int32_t number);

// Where the parts of a WAVE image lie.
struct SoundWave {
    const WAVEFORMATEX* format;  // in the image
    uint32_t formatBytes;        // F, the format chunk's size
    const uint8_t* samples;      // in the image
    uint32_t sampleBytes;        // N
};

// Reads the layout of a WAVE image: "RIFF" at 0, "fmt " at 12, the format at
// 20, and the chunk right after it, whatever its id, as the samples. Returns
// false when the image does not start that way. The two-argument form
// trusts the chunk sizes; the three-argument form also returns false when
// the format chunk, the next chunk's header or the samples do not lie wholly
// inside `length` bytes, or the format chunk is too short to be a format.
bool SoundWaveRead(const void* data, SoundWave& wave);
bool SoundWaveRead(const void* data, uint32_t length, SoundWave& wave);

// Makes sound `number` from a WAVE image, replacing the number's earlier
// sound only once the new one is made; the new buffer, or null on failure
// (the number then keeps its sound). The image may go once this returns.
// With `length`, nothing outside the image's `length` bytes is read.
IDirectSoundBuffer* SoundCatch(int32_t number, const void* data);
IDirectSoundBuffer* SoundCatch(int32_t number, const void* data, uint32_t length);

// Plays a sound from its first sample, once for flags 0 and looping for any
// other value; Play's result, or 0 when the number has no sound.
HRESULT SoundPlay(int32_t number, uint32_t flags);
