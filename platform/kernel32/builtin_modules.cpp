// The stand-in libraries that LoadLibraryA can find. Each registers its file
// name and entries with PlatformModuleRegister.
#include "modules.h"

void PlatformDsoundRegister();
void PlatformD3D9Register();
void PlatformD3DX9Register();

void PlatformRegisterBuiltinModules() {
    PlatformDsoundRegister();
    PlatformD3D9Register();
    PlatformD3DX9Register();
}
