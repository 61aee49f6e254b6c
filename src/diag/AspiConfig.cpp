// Checks and edits of the ASPI manager's ExcludeMiniports value.
#include "diag/AspiConfig.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "diag/SystemInfo.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "settings/Language.h"

namespace {

using platform::RegRoot;

const char* const kAspiParametersKey = "SYSTEM\\CurrentControlSet\\Services\\Aspi32\\Parameters";
const char* const kScsiAdapterMapKey = "HARDWARE\\RESOURCEMAP\\ScsiAdapter";
const char* const kWin9xAspiKey = "System\\CurrentControlSet\\Services\\VxD\\APIX";
const char* const kExcludeMiniports = "ExcludeMiniports";

const char* const kVirtualDriveMiniport = "FASTCDMP";
const char* const kAtapiMiniport = "ATAPI";
const char* const kIdeMiniports[] = {kAtapiMiniport, "PIIXIDE"};

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

std::optional<std::string> ReadList(const char* keyPath)
{
    return platform::OpenKey(RegRoot::LocalMachine, keyPath).readString(kExcludeMiniports);
}

bool Contains(const std::string& text, const std::string& name) { return Upper(text).find(Upper(name)) != std::string::npos; }

bool Ask(const std::string& question)
{
    return platform::ShowMessage(platform::MessageKind::Confirmation, question, lg_KALMOR) == platform::MessageResult::Yes;
}

}  // namespace

std::string LoadedMiniports()
{
    std::string joined;
    for (const std::string& name : platform::OpenKey(RegRoot::LocalMachine, kScsiAdapterMapKey).subkeyNames())
        joined += (joined.empty() ? "" : ";") + name;
    return joined;
}

bool MiniportLoaded(const std::string& name) { return Contains(LoadedMiniports(), name); }

bool ExclusionListExists() { return ReadList(kAspiParametersKey).has_value(); }

std::string ExclusionList() { return ReadList(kAspiParametersKey).value_or(""); }

bool MiniportExcluded(const std::string& name) { return Contains(ExclusionList(), name); }

void ExcludeMiniport(const std::string& name)
{
    platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, kAspiParametersKey);
    const auto value = key.readString(kExcludeMiniports);
    if (!value) return;
    const std::string list = Upper(*value);
    const std::string n = Upper(name);
    if (list.find(n) != std::string::npos) return;
    key.writeString(kExcludeMiniports, list + (list.empty() ? "" : ";") + n);
}

void IncludeMiniport(const std::string& name)
{
    platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, kAspiParametersKey);
    const auto value = key.readString(kExcludeMiniports);
    if (!value) return;
    const std::string list = Upper(*value);
    const std::string n = Upper(name);
    const size_t at = list.find(n);
    if (at == std::string::npos) return;
    // The name goes with the separator after it when it leads the list, else with the one before.
    std::string rest;
    if (at == 0) rest = n.size() + 1 < list.size() ? list.substr(n.size() + 1) : "";
    else rest = list.substr(0, at - 1) + list.substr(at + n.size());
    key.writeString(kExcludeMiniports, rest);
}

bool Win9xExclusionListExists() { return ReadList(kWin9xAspiKey).has_value(); }

std::string Win9xExclusionList() { return ReadList(kWin9xAspiKey).value_or(""); }

bool CheckAspiConfiguration()
{
    bool changed = false;
    const uint8_t os = OsCode();
    if (os == kOsWindowsNt4 && ExclusionListExists()) {
        if (MiniportLoaded(kVirtualDriveMiniport) && !MiniportExcluded(kVirtualDriveMiniport) &&
            Ask(lg_ASPI_VIRTUAL_DRIVE)) {
            ExcludeMiniport(kVirtualDriveMiniport);
            changed = true;
        }
        for (const char* ide : kIdeMiniports) {
            if (MiniportLoaded(ide) && MiniportExcluded(ide) && Ask(lg_ASPI_NO_ATAPI)) {
                IncludeMiniport(ide);
                changed = true;
            }
        }
    }
    if ((os == kOsWindows2000Build2072 || os == kOsWindows2000Build2128) && ExclusionListExists() &&
        MiniportExcluded(kAtapiMiniport) && Ask(lg_ASPI_NO_ATAPI)) {
        IncludeMiniport(kAtapiMiniport);
        changed = true;
    }
    return changed;
}
