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
