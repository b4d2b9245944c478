// Test controls of the native platform. Only tests include this header; the
// system code sees the platform through its own Win32 names alone.
#pragma once

#include <windows.h>

// Clock: GetTickCount and timeGetTime read a monotonic clock unless a test
// switches to the virtual clock, which moves only when told to.
void PlatformClockUseVirtual(DWORD start);
void PlatformClockSet(DWORD now);
void PlatformClockAdvance(DWORD milliseconds);
void PlatformClockUseReal();
bool PlatformClockIsVirtual();

// Heaps: what a private heap still holds.
SIZE_T PlatformHeapBlockCount(HANDLE heap);
SIZE_T PlatformHeapBytesInUse(HANDLE heap);

// Module table: make a library or one of its entries unavailable, add a copy
// of a library under another name, and undo all of that again.
bool PlatformModuleWithdraw(const char* fileName);
bool PlatformModuleWithdrawEntry(const char* fileName, const char* entryName);
bool PlatformModuleAddCopy(const char* fileName, const char* sourceFileName);
void PlatformModulesRestore();
int PlatformModuleLoadCount(const char* fileName);

// Sound: where DirectSoundCreate sends its mixer. The system output (SDL2's
// audio device; DirectSoundCreate fails without one) is the default; memory
// output mixes only when a test renders it; with no output DirectSoundCreate
// fails as on a machine without sound hardware.
void PlatformSoundUseSystemOutput();
void PlatformSoundUseMemoryOutput(DWORD rate, WORD channels);
void PlatformSoundUseNoOutput();
// Mixes the next `frames` frames of the live memory-output device into
// `samples` (frames times its channels, interleaved); false without one.
bool PlatformSoundRender(int16_t* samples, DWORD frames);
// Called with the address of every device and buffer as it is destroyed by
// its last Release; null turns it off.
void PlatformSoundOnRelease(void (*hook)(const void* object));
// Devices and buffers alive now.
int PlatformSoundBufferCount();
int PlatformSoundDeviceCount();

// Windows: the headless host keeps top-level windows on a virtual screen of
// 1024 by 768 pixels. Test programs get it by linking `platform_headless`;
// PlatformHostUseHeadless does the same before the first window opens.
void PlatformHostUseHeadless();
// A pixel of the virtual screen or of a window's client area, as 0x00RRGGBB.
// False outside the screen or the client area.
bool PlatformScreenPixel(int x, int y, DWORD* pixel);
bool PlatformWindowPixel(HWND window, int x, int y, DWORD* pixel);
// Sends every pending WM_PAINT of the calling thread's windows.
void PlatformPaintAll();
// Input as a user gives it: the mouse at a screen point (WM_MOUSEMOVE,
// WM_LBUTTONDOWN or WM_LBUTTONUP) and keys by virtual-key code. The messages
// reach the queue as Windows delivers them: to the capture window or the
// window under the mouse, to the focus window for keys.
void PlatformInjectMouse(int x, int y, UINT message);
void PlatformInjectKey(int virtualKey, bool down);
