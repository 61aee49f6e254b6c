// Loads the ASPI manager from the system directory the way Kalmor does, and lists its host
// adapters and the devices behind them. Used by the Wine checks and the demo.
#include <cstdio>
#include <memory>

#include "transport/AspiManager.h"
#include "transport/Target.h"

int main()
{
    const bool ok = InitASPI32();
    if (!ASPIStatusText().empty()) {
        std::printf("ASPI status: %s\n", ASPIStatusText().c_str());
        return 1;
    }
    std::printf("ASPI manager: %s\n", ASPIPassThrough() ? "SCSI pass-through" : ASPIDLLPath().c_str());
    if (!ok) std::printf("ASPI status: a host adapter inquiry failed\n");
    for (uint8_t ha = 0; ha < HostAdaptorCount(); ++ha) {
        std::printf("%s\n", HostAdaptorInfo(ha).c_str());
        std::printf("  name %s\n", HostAdaptorName(ha).c_str());
        for (uint8_t id = 0; id < HostAdaptorRecord(ha).MaxTargets; ++id) {
            auto target = std::make_unique<TTarget>(ha, id, 0, 0);
            if (!target->Initialised()) continue;
            std::printf("  target %u: type %02X \"%s\" \"%s\" \"%s\" \"%s\"\n", unsigned(id), unsigned(target->DeviceType()),
                        target->Vendor().c_str(), target->Product().c_str(), target->Revision().c_str(),
                        target->VendorSpecific().c_str());
        }
    }
    UnloadASPI32();
    return ok ? 0 : 1;
}
