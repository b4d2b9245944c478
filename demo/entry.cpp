// The process entry: the module instance and the command line go to
// MainProgram, which ignores the command line and never returns.
#include "demo.h"

#ifdef _WIN32
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    MainProgram(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), 10);
}
#else
int main() { MainProgram(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), 10); }
#endif
