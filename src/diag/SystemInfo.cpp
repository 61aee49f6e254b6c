// Operating-system version, version resources, driver files and the registry dump.
#include "diag/SystemInfo.h"

#include "platform/Library.h"
#include "platform/SystemInfo.h"
#include "transport/Bytes.h"
#include "transport/Text.h"

namespace {

struct OsBuild {
    const char* text;
    uint8_t code;
};

// Tested in this order; the first text found in the version text wins.
constexpr OsBuild kOsBuilds[] = {
    {"4.0.1212", 2},
    {"4.10.1998", 3},
    {"4.10.1691", 3},
    {"4.0.1111", 1},
    {"4.0.950", 0},
    {"4.0.1381", kOsWindowsNt4},
    {"5.0.2072", kOsWindows2000Build2072},
    {"5.0.2128", kOsWindows2000Build2128},
    {"4.10.2222", 4},
};

const char* const kVersionStrings[] = {
    "CompanyName",      "FileDescription", "InternalName", "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName",  "Comments",
};

constexpr size_t kFixedInfoVersionOffset = 8;  // dwFileVersionMS, then dwFileVersionLS
constexpr size_t kMaxDumpedBytes = 80;
constexpr uint32_t kSystemDirectoryBuffer = 255;

const char* const kAudioFsKey = "System\\CurrentControlSet\\Services\\VxD\\AudioFS";

std::string RootAbbreviation(platform::RegRoot root)
{
    switch (root) {
    case platform::RegRoot::CurrentUser: return "HKCU";
    case platform::RegRoot::LocalMachine: return "HKLM";
    }
    return "----";
}

std::string ValueText(const platform::RegKey& key, const std::string& name)
{
    switch (key.valueType(name)) {
    case platform::RegType::String: return " = \"" + key.readString(name).value_or("") + "\"";
    case platform::RegType::Integer: return " = " + std::to_string(key.readInteger(name).value_or(0));
    case platform::RegType::Binary: {
        const std::vector<uint8_t> bytes = key.readBinary(name).value_or(std::vector<uint8_t>());
        std::string text;
        for (size_t i = 0; i < bytes.size() && i < kMaxDumpedBytes; ++i) text += IntToHex(bytes[i], 2) + " ";
        if (text.empty()) return " = [error]";
        if (bytes.size() > kMaxDumpedBytes) text += "... (" + std::to_string(bytes.size()) + " Bytes)";
        return " = " + text;
    }
    default: return " = unbekannt";
    }
}

}  // namespace

std::string OsVersionText()
{
    const auto record = platform::OsVersion();
    if (!record) return "";
    return std::to_string(record->major) + "." + std::to_string(record->minor) + "." +
           std::to_string(record->build & 0xFFFF) + record->servicePack;
}

uint8_t OsCode(const std::string& versionText)
{
    for (const OsBuild& build : kOsBuilds) {
        if (versionText.find(build.text) != std::string::npos) return build.code;
    }
    return kOsOther;
}

uint8_t OsCode() { return OsCode(OsVersionText()); }

std::string HexWord(uint16_t w) { return IntToHex(w, 4); }

std::string FileVersionText(const std::string& fileName)
{
    const auto fixed = platform::FileVersionValue(fileName, "\\");
    if (!fixed || fixed->size() < kFixedInfoVersionOffset + 8) return "";
    const uint32_t ms = getLe32(&(*fixed)[kFixedInfoVersionOffset]);
    const uint32_t ls = getLe32(&(*fixed)[kFixedInfoVersionOffset + 4]);
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16) + " (" +
           std::to_string(ls & 0xFFFF) + ")";
}

std::string VersionInformation(const std::string& fileName, int index)
{
    if (index == 0) return FileVersionText(fileName);
    if (index < 1 || index > 8) return "";
    const auto translation = platform::FileVersionValue(fileName, "\\VarFileInfo\\Translation");
    if (!translation || translation->size() < 4) return "";
    const std::string language = HexWord(uint16_t(getLe16(translation->data())));
    const std::string codePage = HexWord(uint16_t(getLe16(translation->data() + 2)));
    const auto value = platform::FileVersionValue(
        fileName, "\\StringFileInfo\\" + language + codePage + "\\" + kVersionStrings[index - 1]);
    if (!value) return "";
    const std::string text(value->begin(), value->end());
    return text.substr(0, text.find('\0'));
}

std::string DriverFilePath(const std::string& name)
{
    char buffer[kSystemDirectoryBuffer] = {};
    const uint32_t length = platform::SystemDirectory(buffer, sizeof buffer);
    if (length < 1 || length > kSystemDirectoryBuffer - 1) return "";
    std::string path(buffer, length);
    if (path.back() != '\\') path += '\\';
    path += "Iosubsys\\" + name;
    return platform::FileExists(path) ? path : "";
}

bool AudioFSState(bool& active)
{
    const platform::RegKey key = platform::OpenKey(platform::RegRoot::LocalMachine, kAudioFsKey);
    const auto bytes = key.readBinary("0");
    if (!bytes || bytes->size() != 4) return false;
    active = getLe32(bytes->data()) == 0;
    return true;
}

void RegistryDump(platform::RegRoot root, const std::string& key, TLineList& lines)
{
    const platform::RegKey handle = platform::OpenKey(root, key);
    if (!handle.isOpen()) return;
    // Appended in place: a literal plus a temporary trips a false -Wrestrict of GCC 12.
    std::string prefix = " ";
    prefix += RootAbbreviation(root) + "@" + key;
    lines.Append(prefix);
    for (const std::string& name : handle.valueNames()) lines.Append(prefix + "\\" + name + ValueText(handle, name));
    for (const std::string& subkey : handle.subkeyNames()) RegistryDump(root, key + "\\" + subkey, lines);
}
