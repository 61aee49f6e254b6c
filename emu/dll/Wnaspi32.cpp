// WNASPI32.DLL: the emulated ASPI manager as Windows programs load it. The system it
// emulates is the scenario named by WNASPI32_EMU_SCENARIO, else the built-in default.
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "emu/Emulator.h"
#include "emu/Scenario.h"
#include "emu/dll/ControlChannel.h"

namespace {

// Made on first use, not in DllMain, where no thread may be waited for. A bad scenario
// leaves no manager: the message goes to stderr and every entry point reports
// SS_FAILED_INIT, rather than emulating something the user did not ask for.
void EnsureManager()
{
    static std::once_flag once;
    std::call_once(once, [] {
        const char* path = std::getenv("WNASPI32_EMU_SCENARIO");
        if (!path || !*path) {
            emu::SetCurrent(emu::DefaultScenario());
            return;
        }
        emu::ScenarioResult result = emu::LoadScenario(path);
        if (!result.manager) {
            std::fprintf(stderr, "WNASPI32: %s\n", result.error.c_str());
            std::fflush(stderr);
            return;
        }
        emu::SetCurrent(result.manager);
    });
}

}  // namespace

extern "C" {

uint32_t ASPI_CDECL SendASPI32Command(void* srb)
{
    EnsureManager();
    if (std::shared_ptr<emu::Manager> manager = emu::Current()) emu::dll::Poll(*manager);
    return emu::SendASPI32Command(srb);
}

uint32_t ASPI_CDECL GetASPI32SupportInfo()
{
    EnsureManager();
    return emu::GetASPI32SupportInfo();
}

uint32_t ASPI_CDECL GetASPI32DLLVersion() { return emu::GetASPI32DLLVersion(); }

int ASPI_CDECL GetASPI32Buffer(void* buffer) { return emu::GetASPI32Buffer(buffer); }

int ASPI_CDECL FreeASPI32Buffer(void* buffer) { return emu::FreeASPI32Buffer(buffer); }

int ASPI_CDECL TranslateASPI32Address(uint32_t* path, uint32_t* devNode)
{
    return emu::TranslateASPI32Address(path, devNode);
}

}
