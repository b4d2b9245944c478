// The module table behind LoadLibraryA, GetProcAddress and FreeLibrary.
#include "modules.h"

#include <cctype>
#include <mutex>
#include <string>
#include <vector>

#include "testing.h"

void PlatformRegisterBuiltinModules();

namespace {

struct Entry {
    std::string name;
    FARPROC address;
    bool withdrawn;
};

struct Module {
    std::string fileName;
    std::vector<Entry> entries;
    bool withdrawn = false;
    bool addedByTest = false;
    int loadCount = 0;
};

struct Table {
    std::mutex lock;
    std::vector<Module*> modules;  // never freed: handles stay valid for the process
};

Table& RawTable() {
    static Table* table = new Table;
    return *table;
}

// The table, with the stand-in libraries registered before its first use.
Table& TheTable() {
    static std::once_flag builtins;
    std::call_once(builtins, PlatformRegisterBuiltinModules);
    return RawTable();
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// The file part of a library name, with ".dll" added when it has no
// extension, as LoadLibraryA does.
std::string LibraryName(const char* fileName) {
    std::string name(fileName);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    if (name.find('.') == std::string::npos) name += ".dll";
    return name;
}

Module* Find(Table& table, const std::string& name) {
    for (Module* module : table.modules)
        if (SameName(module->fileName, name)) return module;
    return nullptr;
}

Module* FromHandle(Table& table, HMODULE handle) {
    for (Module* module : table.modules)
        if (reinterpret_cast<HMODULE>(module) == handle) return module;
    return nullptr;
}

std::vector<void (*)()>& ExitHooks() {
    static std::vector<void (*)()>* hooks = new std::vector<void (*)()>;
    return *hooks;
}

}  // namespace

void PlatformModuleRegister(const char* fileName, const PlatformExport* exports, size_t count) {
    Table& table = RawTable();
    std::lock_guard<std::mutex> guard(table.lock);
    const std::string name = LibraryName(fileName);
    Module* module = Find(table, name);
    if (module == nullptr) {
        module = new Module;
        module->fileName = name;
        table.modules.push_back(module);
    }
    module->entries.clear();
    for (size_t i = 0; i < count; ++i) module->entries.push_back({exports[i].name, exports[i].address, false});
}

void PlatformAtExit(void (*hook)()) { ExitHooks().push_back(hook); }

void PlatformRunExitHooks() {
    std::vector<void (*)()>& hooks = ExitHooks();
    while (!hooks.empty()) {
        void (*hook)() = hooks.back();
        hooks.pop_back();
        hook();
    }
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Module* module = Find(table, LibraryName(fileName));
    if (module == nullptr || module->withdrawn) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++module->loadCount;
    return reinterpret_cast<HMODULE>(module);
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR procName) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Module* module = FromHandle(table, handle);
    if (module == nullptr || module->loadCount == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    // Values below 0x10000 are ordinals; no stand-in library exports by ordinal.
    if (reinterpret_cast<uintptr_t>(procName) < 0x10000) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    for (const Entry& entry : module->entries)
        if (entry.name == procName) {
            if (entry.withdrawn) break;
            return entry.address;
        }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE handle) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Module* module = FromHandle(table, handle);
    if (module == nullptr || module->loadCount == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    --module->loadCount;
    return TRUE;
}

HMODULE PlatformLoadedModule(const char* fileName) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Module* module = Find(table, LibraryName(fileName));
    if (module == nullptr || module->loadCount == 0) return nullptr;
    return reinterpret_cast<HMODULE>(module);
}

bool PlatformModuleWithdraw(const char* fileName) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Module* module = Find(table, LibraryName(fileName));
    if (module == nullptr) return false;
    module->withdrawn = true;
    return true;
}

bool PlatformModuleWithdrawEntry(const char* fileName, const char* entryName) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Module* module = Find(table, LibraryName(fileName));
    if (module == nullptr) return false;
    for (Entry& entry : module->entries)
        if (entry.name == entryName) {
            entry.withdrawn = true;
            return true;
        }
    return false;
}

bool PlatformModuleAddCopy(const char* fileName, const char* sourceFileName) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    const std::string name = LibraryName(fileName);
    Module* source = Find(table, LibraryName(sourceFileName));
    Module* module = Find(table, name);
    if (source == nullptr || (module != nullptr && !module->addedByTest)) return false;
    if (module == nullptr) {
        module = new Module;
        module->fileName = name;
        table.modules.push_back(module);
    }
    module->withdrawn = false;
    module->entries = source->entries;
    for (Entry& entry : module->entries) entry.withdrawn = false;
    module->addedByTest = true;
    return true;
}

void PlatformModulesRestore() {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    for (Module* module : table.modules) {
        // A library a test added stays known, so that handles to it remain
        // valid, but it can no longer be loaded.
        module->withdrawn = module->addedByTest;
        for (Entry& entry : module->entries) entry.withdrawn = false;
    }
}

int PlatformModuleLoadCount(const char* fileName) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Module* module = Find(table, LibraryName(fileName));
    return module == nullptr ? 0 : module->loadCount;
}
