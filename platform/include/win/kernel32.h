// kernel32: heaps, libraries, clocks, process and thread identity, errors.
#pragma once

#include "base.h"

#define HEAP_NO_SERIALIZE 0x00000001
#define HEAP_GENERATE_EXCEPTIONS 0x00000004
#define HEAP_ZERO_MEMORY 0x00000008
#define HEAP_REALLOC_IN_PLACE_ONLY 0x00000010

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L

HANDLE WINAPI HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize);
BOOL WINAPI HeapDestroy(HANDLE heap);
LPVOID WINAPI HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID WINAPI HeapReAlloc(HANDLE heap, DWORD flags, LPVOID memory, SIZE_T bytes);
BOOL WINAPI HeapFree(HANDLE heap, DWORD flags, LPVOID memory);
SIZE_T WINAPI HeapSize(HANDLE heap, DWORD flags, LPCVOID memory);
HANDLE WINAPI GetProcessHeap(void);

DWORD WINAPI GetTickCount(void);

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);
BOOL WINAPI FreeLibrary(HMODULE module);

LPSTR WINAPI GetCommandLineA(void);
DWORD WINAPI GetCurrentThreadId(void);
DWORD WINAPI GetCurrentProcessId(void);
[[noreturn]] void WINAPI ExitProcess(UINT exitCode);

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);
