#include "transport/AspiManager.h"

#include <cstring>
#include <memory>

#include "platform/Assert.h"
#include "platform/Library.h"
#include "platform/SystemInfo.h"
#include "transport/Aspi.h"
#include "transport/Bytes.h"
#include "transport/SptiManager.h"
#include "transport/Text.h"

namespace {

struct AspiBinding {
    platform::ModuleHandle module = nullptr;
    SendASPI32CommandFn SendASPI32Command = nullptr;
    GetASPI32SupportInfoFn GetASPI32SupportInfo = nullptr;
    GetASPI32DLLVersionFn GetASPI32DLLVersion = nullptr;
    GetASPI32BufferFn GetASPI32Buffer = nullptr;
    FreeASPI32BufferFn FreeASPI32Buffer = nullptr;
    TranslateASPI32AddressFn TranslateASPI32Address = nullptr;
    SendASPI32CommandTimeoutFn SendASPI32CommandTimeout = nullptr;
    bool loaded = false;
    std::string dllPath;
    std::string statusText;
    uint8_t count = 0;
    // Stands in for a library that is missing or knows no adapter (Windows NT and later).
    std::unique_ptr<SptiManager> passThrough;
};

AspiBinding binding;
HostAdaptor hostAdaptors[kMaxHostAdaptors];

struct StatusName {
    uint8_t code;
    const char* name;
};

const StatusName kStatusNames[] = {
    {SS_SECURITY_VIOLATION, "SS_SECURITY_VIOLATION"},
    {SS_NO_ASPI, "SS_NO_ASPI"},
    {SS_FAILED_INIT, "SS_FAILED_INIT"},
    {SS_ASPI_IS_BUSY, "SS_ASPI_IS_BUSY"},
    {SS_MISMATCHED_COMPONENTS, "SS_MISMATCHED_COMPONENTS"},
    {SS_NO_ADAPTERS, "SS_NO_ADAPTERS"},
    {SS_INSUFFICIENT_RESOURCES, "SS_INSUFFICIENT_RESOURCES"},
    {SS_ASPI_IS_SHUTDOWN, "SS_ASPI_IS_SHUTDOWN"},
    {SS_BAD_INSTALL, "SS_BAD_INSTALL"},
};

std::string StatusText(uint32_t supportInfo)
{
    const uint8_t status = uint8_t(supportInfo >> 8);
    // The pass-through reports devices it may not open: say which right is missing.
    if (status == SS_SECURITY_VIOLATION && binding.passThrough) {
        return "SS_SECURITY_VIOLATION (SCSI pass-through needs administrator rights: no read and write access to " +
               binding.passThrough->DeniedDevice() + ")";
    }
    for (const StatusName& row : kStatusNames) {
        if (row.code == status) return row.name;
    }
    return "bad ASPIStatus(" + IntToHex(supportInfo, 8) + ")";
}

template <typename Fn>
Fn Bind(const char* name)
{
    return reinterpret_cast<Fn>(platform::ModuleProc(binding.module, name));
}

void ClearEntryPoints()
{
    binding.SendASPI32Command = nullptr;
    binding.GetASPI32SupportInfo = nullptr;
    binding.GetASPI32DLLVersion = nullptr;
    binding.GetASPI32Buffer = nullptr;
    binding.FreeASPI32Buffer = nullptr;
    binding.TranslateASPI32Address = nullptr;
    binding.SendASPI32CommandTimeout = nullptr;
}

std::string FilteredIdentifier(const uint8_t* bytes, size_t size)
{
    std::string name;
    for (size_t i = 0; i < size && bytes[i] != 0; ++i) {
        if (IsIdentifierChar(bytes[i])) name += char(bytes[i]);
    }
    return name;
}

bool IsDumpChar(uint8_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z');
}

std::string UniqueDump(const uint8_t* unique)
{
    std::string text;
    for (int i = 0; i < 16; ++i) {
        text += IntToHex(unique[i], 2);
        text += IsDumpChar(unique[i]) ? char(unique[i]) : '.';
    }
    return text;
}

bool IsAlignMask(uint32_t mask)
{
    return mask == 0 || mask == 1 || mask == 3 || mask == 7 || mask == 15 || mask == 31 || mask == 63 ||
           mask == 127 || mask == 255;
}

// A unique block with implausible values is not trusted at all: the conservative
// defaults stay and the raw block is kept for the drive report.
void FillRecord(HostAdaptor& record, const SRB_HAInquiry& srb)
{
    const uint8_t* unique = srb.HA_Unique;
    record.ID = srb.HA_SCSI_ID;
    record.Identifier = FilteredIdentifier(srb.HA_Identifier, sizeof(srb.HA_Identifier));

    bool rejected = false;
    record.MaxTLen = getLe32(unique + 4) & 0x7FFFFFFFu;
    if (record.MaxTLen < 0x10000) {
        record.MaxTLen = 0x10000;
        rejected = true;
    }
    record.MaxTargets = 8;
    if (!rejected) {
        if (unique[3] == 8 || unique[3] == 16) record.MaxTargets = unique[3];
        else rejected = true;
    }
    record.Align = 3;
    if (!rejected) {
        const uint32_t mask = getLe16(unique);
        if (IsAlignMask(mask)) record.Align = mask;
        else rejected = true;
    }
    record.Residual = !rejected && (unique[2] & 0x02) != 0;
    record.HA_UniqueText.clear();
    if (rejected) {
        // A target count read before a later field failed is not trusted either.
        record.MaxTargets = 8;
        record.HA_UniqueText = UniqueDump(unique);
    }
}

bool InquireHostAdaptor(uint8_t ha)
{
    SRB_HAInquiry srb;
    std::memset(&srb, 0, sizeof(srb));
    srb.SRB_Cmd = SC_HA_INQUIRY;
    srb.SRB_HaId = ha;
    if (ASPISendCommand(&srb, 0) != SS_COMP) return false;
    FillRecord(hostAdaptors[ha], srb);
    return true;
}

uint32_t SupportInfo()
{
    return binding.passThrough ? binding.passThrough->SupportInfo() : binding.GetASPI32SupportInfo();
}

// SS_NO_ADAPTERS, or success with a count of 0; a manager failing otherwise keeps its answer.
bool ReportsNoAdapter(uint32_t supportInfo)
{
    const uint8_t status = uint8_t(supportInfo >> 8);
    return status == SS_NO_ADAPTERS || (status == SS_COMP && uint8_t(supportInfo) == 0);
}

// Windows NT and later reach CD-ROM drives without an ASPI manager. The pass-through takes
// the library's place when the system has CD-ROM devices, even ones it may not open, so
// that the start-up says which right is missing. Windows 95/98 keeps the library's answer.
bool BindPassThrough()
{
    if (!platform::IsWindowsNt()) return false;
    auto passThrough = std::make_unique<SptiManager>();
    if (passThrough->DeviceCount() == 0 && passThrough->DeniedDevice().empty()) return false;
    if (binding.module) platform::UnloadModule(binding.module);
    binding.module = nullptr;
    ClearEntryPoints();
    binding.dllPath.clear();
    binding.passThrough = std::move(passThrough);
    binding.loaded = true;
    return true;
}

}  // namespace

bool IsIdentifierChar(uint8_t c)
{
    return (c >= 44 && c <= 57) || (c >= 65 && c <= 90) || c == 95 || (c >= 97 && c <= 122);
}

bool LoadASPI32()
{
    if (binding.loaded) return true;

    char buffer[200] = {};
    const uint32_t length = platform::SystemDirectory(buffer, sizeof(buffer));
    std::string directory;
    if (length >= 1 && length <= 199) {
        directory.assign(buffer, length);
        if (directory.back() != '\\') directory += '\\';
    }

    binding.module = platform::LoadModule(directory + "WNASPI32.DLL");
    if (!binding.module) return false;

    binding.SendASPI32Command = Bind<SendASPI32CommandFn>("SendASPI32Command");
    binding.GetASPI32SupportInfo = Bind<GetASPI32SupportInfoFn>("GetASPI32SupportInfo");
    binding.GetASPI32DLLVersion = Bind<GetASPI32DLLVersionFn>("GetASPI32DLLVersion");
    binding.GetASPI32Buffer = Bind<GetASPI32BufferFn>("GetASPI32Buffer");
    binding.FreeASPI32Buffer = Bind<FreeASPI32BufferFn>("FreeASPI32Buffer");
    binding.TranslateASPI32Address = Bind<TranslateASPI32AddressFn>("TranslateASPI32Address");
    binding.SendASPI32CommandTimeout = Bind<SendASPI32CommandTimeoutFn>("SendASPI32CommandTimeout");
    if (!binding.SendASPI32Command || !binding.GetASPI32SupportInfo) {
        ClearEntryPoints();
        platform::UnloadModule(binding.module);
        binding.module = nullptr;
        return false;
    }

    binding.loaded = true;
    binding.dllPath = platform::ModuleFileName(binding.module);
    return true;
}

bool InitASPI32()
{
    binding.count = 0;
    binding.statusText.clear();
    // Each initialisation looks for devices afresh; no target exists at this point.
    if (binding.passThrough) {
        binding.passThrough.reset();
        binding.loaded = false;
    }
    const bool loaded = LoadASPI32();
    uint32_t supportInfo = loaded ? SupportInfo() : 0;
    if ((!loaded || ReportsNoAdapter(supportInfo)) && BindPassThrough()) supportInfo = SupportInfo();
    if (!binding.loaded) {
        binding.statusText = "not LoadASPI32";
        return false;
    }

    if (uint8_t(supportInfo >> 8) == SS_COMP) binding.count = uint8_t(supportInfo);
    else binding.statusText = StatusText(supportInfo);
    if (!binding.statusText.empty()) return false;

    // The table holds adapters 0..7: adapters a manager reports beyond the eighth are
    // neither inquired nor counted, so no adapter number past the table ever reaches a target.
    if (binding.count > kMaxHostAdaptors) binding.count = kMaxHostAdaptors;

    bool allInquired = true;
    for (uint8_t ha = 0; ha < binding.count; ++ha) {
        if (!InquireHostAdaptor(ha)) allInquired = false;
    }
    return allInquired;
}

void UnloadASPI32()
{
    if (binding.module) platform::UnloadModule(binding.module);
    binding = AspiBinding();
    for (HostAdaptor& record : hostAdaptors) record = HostAdaptor();
}

const std::string& ASPIStatusText() { return binding.statusText; }

uint8_t HostAdaptorCount() { return binding.count; }

const std::string& ASPIDLLPath() { return binding.dllPath; }

bool ASPIPassThrough() { return binding.passThrough != nullptr; }

const HostAdaptor& HostAdaptorRecord(uint8_t ha)
{
    KALMOR_ASSERT(ha < binding.count, "Targets", "illegal HaId");
    return hostAdaptors[ha];
}

std::string HostAdaptorName(uint8_t ha) { return HostAdaptorRecord(ha).Identifier; }

std::string HostAdaptorInfo(uint8_t ha)
{
    const HostAdaptor& record = HostAdaptorRecord(ha);
    std::string text = "HA=" + IntToHex(ha, 2) + ", ID=" + IntToHex(record.ID, 2) +
                       ", MaxTLen=" + IntToHex(record.MaxTLen, 8) + ", MaxTargets=" + IntToHex(record.MaxTargets, 2) +
                       ", Align=" + IntToHex(record.Align, 8);
    if (record.Residual) text += ", Residual";
    if (!record.HA_UniqueText.empty()) text += ", HA_Unique= " + record.HA_UniqueText;
    return text;
}

uint32_t ASPISendCommand(void* srb, uint32_t timeoutMs)
{
    KALMOR_ASSERT(binding.loaded, "Targets", "ASPI manager not loaded");
    if (binding.passThrough) return binding.passThrough->SendCommand(srb, timeoutMs);
    if (binding.SendASPI32CommandTimeout) return binding.SendASPI32CommandTimeout(srb, timeoutMs);
    return binding.SendASPI32Command(srb);
}
