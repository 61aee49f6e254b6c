// Drive answers during identification: INQUIRY, the drive database, the capabilities page,
// the family fallbacks, the maximum speed and the capacity.
#include "drive/CDROM.h"
#include "fuzz/FuzzRun.h"
#include "settings/Store.h"

namespace {

std::string Flag(bool value) { return value ? "1" : "0"; }

std::string Identify(fuzz::Conversation&)
{
    TCDROM drive(0, 0, 0);
    if (!drive.Initialised()) return "absent";
    std::string seen = drive.Vendor() + "|" + drive.Product() + "|" + drive.Revision() + "|" + drive.VendorSpecific() +
                       "|" + std::to_string(drive.DeviceType()) + "|" + std::to_string(drive.AnsiVersion());
    if (!drive.Exists) return seen;
    seen += "|" + drive.FamilyName() + "|" + drive.ModelName() + "|" + MakeDriveName(drive.Vendor(), drive.Product());
    seen += "|" + Flag(drive.IsWriter) + Flag(drive.C2Supported) + Flag(drive.C2Pointers) + Flag(drive.CddaCommands) +
            Flag(drive.CddaStreamAccurate) + "|" + std::to_string(drive.BufferSizeKB);
    seen += "|" + std::to_string(drive.MaxReadSpeed()) + "|" + std::to_string(drive.MaxSpeedFactor()) + "|" +
            std::to_string(drive.CurrentWriteSpeed()) + "|" + drive.ReadCapacityText() + "|" + drive.SenseStatistics();
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::RecordSeedsIfAsked(Identify, {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::RunDifferential(data, size, Identify);
    return 0;
}
