#include <windows.h>

#include "platform/Library.h"

namespace platform {

ModuleHandle LoadModule(const std::string& fileName) { return ::LoadLibraryA(fileName.c_str()); }

void* ModuleProc(ModuleHandle module, const char* name)
{
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

void UnloadModule(ModuleHandle module) { ::FreeLibrary(static_cast<HMODULE>(module)); }

std::string ModuleFileName(ModuleHandle module)
{
    char name[200] = {};
    const DWORD length = ::GetModuleFileNameA(static_cast<HMODULE>(module), name, sizeof(name) - 1);
    return std::string(name, length);
}

uint32_t SystemDirectory(char* buffer, uint32_t size) { return ::GetSystemDirectoryA(buffer, size); }

}  // namespace platform
