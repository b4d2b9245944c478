// Process and thread identity, the command line, the last error and the
// process exit.
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "modules.h"

void PlatformRunExitHooks();

namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

// The program's own module: what GetModuleHandleA(NULL) gives.
struct ProgramModule {
    int unused;
} programModule;

// The command line as one string, each argument quoted when it holds a space.
std::string BuildCommandLine() {
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string raw((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string line;
    size_t start = 0;
    while (start < raw.size()) {
        size_t end = raw.find('\0', start);
        if (end == std::string::npos) end = raw.size();
        const std::string argument = raw.substr(start, end - start);
        if (!line.empty()) line += ' ';
        if (argument.empty() || argument.find_first_of(" \t") != std::string::npos)
            line += '"' + argument + '"';
        else
            line += argument;
        start = end + 1;
    }
    return line;
}

}  // namespace

HMODULE PlatformLoadedModule(const char* fileName);

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) return reinterpret_cast<HMODULE>(&programModule);
    HMODULE module = PlatformLoadedModule(moduleName);
    if (module == nullptr) SetLastError(ERROR_MOD_NOT_FOUND);
    return module;
}

LPSTR WINAPI GetCommandLineA(void) {
    static std::string* line = new std::string(BuildCommandLine());
    return &(*line)[0];
}

DWORD WINAPI GetCurrentThreadId(void) { return static_cast<DWORD>(syscall(SYS_gettid)); }

DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

void WINAPI ExitProcess(UINT exitCode) {
    PlatformRunExitHooks();
    std::fflush(nullptr);
    std::exit(static_cast<int>(exitCode));
}

DWORD WINAPI GetLastError(void) { return lastError; }

void WINAPI SetLastError(DWORD error) { lastError = error; }
