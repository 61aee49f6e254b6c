// The entry points of the SG_IO manager module.
#include <mutex>

#include "transport/Aspi.h"
#include "transport/SgIoManager.h"

namespace {

// A command sent without a time-out (SendASPI32Command) gets the target's default one.
constexpr uint32_t kDefaultTimeoutMs = 120000;

std::mutex currentLock;
std::shared_ptr<SgIoManager> current;

uint32_t ASPI_CDECL SendASPI32CommandTimeout(void* srb, uint32_t timeoutMs)
{
    const std::shared_ptr<SgIoManager> manager = CurrentSgIoManager();
    if (!manager) return static_cast<SRB_Header*>(srb)->SRB_Status = SS_NO_ASPI;
    return manager->SendCommand(srb, timeoutMs);
}

uint32_t ASPI_CDECL SendASPI32Command(void* srb) { return SendASPI32CommandTimeout(srb, kDefaultTimeoutMs); }

uint32_t ASPI_CDECL GetASPI32SupportInfo()
{
    const std::shared_ptr<SgIoManager> manager = CurrentSgIoManager();
    return manager ? manager->SupportInfo() : uint32_t(SS_NO_ASPI) << 8;
}

}  // namespace

void SetSgIoManager(std::shared_ptr<SgIoManager> manager)
{
    std::lock_guard<std::mutex> guard(currentLock);
    current = std::move(manager);
}

std::shared_ptr<SgIoManager> CurrentSgIoManager()
{
    std::lock_guard<std::mutex> guard(currentLock);
    return current;
}

std::map<std::string, void*> SgIoEntryPoints()
{
    return {
        {"SendASPI32Command", reinterpret_cast<void*>(&SendASPI32Command)},
        {"GetASPI32SupportInfo", reinterpret_cast<void*>(&GetASPI32SupportInfo)},
        {"SendASPI32CommandTimeout", reinterpret_cast<void*>(&SendASPI32CommandTimeout)},
    };
}
