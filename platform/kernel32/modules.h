// How the native stand-in libraries make themselves loadable by name.
#pragma once

#include <windows.h>

struct PlatformExport {
    const char* name;
    FARPROC address;
};

// Registers a library under its file name (matched without regard to case)
// with the entries that GetProcAddress finds by name. Stand-in libraries call
// this from a static initialiser; registering a name again replaces its
// entries.
void PlatformModuleRegister(const char* fileName, const PlatformExport* exports, size_t count);

// Runs at ExitProcess before the process ends, in reverse order of
// registration: stand-in libraries stop their threads here.
void PlatformAtExit(void (*hook)());

// An entry's address as GetProcAddress hands it out; the caller casts it back
// to the entry's real type. The cast goes through void (*)(), which the
// compiler accepts as the generic function pointer type.
template <typename Function>
FARPROC PlatformEntry(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}
