// The native binding: the emulator registered as the system's ASPI manager module.
#ifndef _WIN32

#include "emu/Emulator.h"
#include "platform/host/Host.h"

namespace emu {

namespace {
const char* const kModuleFileName = "C:\\windows\\system32\\WNASPI32.DLL";
}

void InstallNative(std::shared_ptr<Manager> manager)
{
    SetCurrent(std::move(manager));
    platform::host::RegisterModule(kModuleFileName,
                                   {
                                       {"SendASPI32Command", reinterpret_cast<void*>(&SendASPI32Command)},
                                       {"GetASPI32SupportInfo", reinterpret_cast<void*>(&GetASPI32SupportInfo)},
                                       {"GetASPI32DLLVersion", reinterpret_cast<void*>(&GetASPI32DLLVersion)},
                                       {"GetASPI32Buffer", reinterpret_cast<void*>(&GetASPI32Buffer)},
                                       {"FreeASPI32Buffer", reinterpret_cast<void*>(&FreeASPI32Buffer)},
                                       {"TranslateASPI32Address", reinterpret_cast<void*>(&TranslateASPI32Address)},
                                   });
}

void UninstallNative()
{
    platform::host::UnregisterModule(kModuleFileName);
    SetCurrent(nullptr);
}

}  // namespace emu

#endif
