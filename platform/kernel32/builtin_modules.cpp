// The stand-in libraries that LoadLibraryA can find. Each registers its file
// name and entries with PlatformModuleRegister.
#include "modules.h"

void PlatformRegisterBuiltinModules() {}
