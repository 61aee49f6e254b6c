#pragma once
// Run-time loading of libraries (the ASPI manager) and the system directory.
#include <cstdint>
#include <string>

namespace platform {

using ModuleHandle = void*;

// Null when the library cannot be loaded.
ModuleHandle LoadModule(const std::string& fileName);
// Null when the module has no entry point of that name.
void* ModuleProc(ModuleHandle module, const char* name);
void UnloadModule(ModuleHandle module);
// Full file name of a loaded module (at most 199 characters); empty on failure.
std::string ModuleFileName(ModuleHandle module);

// Writes the system directory into buffer (size characters, zero-terminated when it
// fits) and returns its length, or the size needed when it does not fit, or 0 on failure.
uint32_t SystemDirectory(char* buffer, uint32_t size);

}  // namespace platform
