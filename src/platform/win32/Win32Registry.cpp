#include <windows.h>

#include <cstring>

#include "platform/Registry.h"

using platform::RegRoot;

namespace {

// Registry names are at most 16383 characters; enumeration buffers never grow past this.
constexpr size_t kMaxNameBuffer = 65536;

HKEY RootHandle(RegRoot root) { return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

HKEY Handle(void* handle) { return static_cast<HKEY>(handle); }

// The key names of path joined by single backslashes: the calls take no leading
// backslash, and empty names would be treated differently by different versions.
std::string Normalized(const std::string& path)
{
    std::string out;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('\\', pos);
        if (end == std::string::npos) end = path.size();
        if (end > pos) {
            if (!out.empty()) out += '\\';
            out.append(path, pos, end - pos);
        }
        pos = end + 1;
    }
    return out;
}

// Read and write access where allowed, else read-only (per-machine keys for a user
// without administrator rights on Windows NT).
HKEY OpenRaw(HKEY parent, const std::string& path)
{
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &key);
    if (result == ERROR_ACCESS_DENIED) result = ::RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ, &key);
    return result == ERROR_SUCCESS ? key : nullptr;
}

// Asks for the size first, so values of any length come back whole; tries again when
// the value grew between the two calls.
bool QueryValue(void* handle, const std::string& name, DWORD& type, std::vector<uint8_t>& data)
{
    if (!handle) return false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (::RegQueryValueExA(Handle(handle), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return false;
        data.assign(size + 1, 0);
        DWORD got = size;
        const LONG result = ::RegQueryValueExA(Handle(handle), name.c_str(), nullptr, &type, data.data(), &got);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) return false;
        data.resize(got);
        return true;
    }
    return false;
}

bool SetValue(void* handle, const std::string& name, DWORD type, const void* data, size_t size)
{
    static const BYTE none = 0;
    if (!handle) return false;
    const BYTE* bytes = size ? static_cast<const BYTE*>(data) : &none;
    return ::RegSetValueExA(Handle(handle), name.c_str(), 0, type, bytes, DWORD(size)) == ERROR_SUCCESS;
}

std::vector<std::string> EnumNames(void* handle, bool values)
{
    std::vector<std::string> names;
    DWORD maxKeyName = 0;
    DWORD maxValueName = 0;
    if (!handle || ::RegQueryInfoKeyA(Handle(handle), nullptr, nullptr, nullptr, nullptr, &maxKeyName, nullptr,
                                      nullptr, &maxValueName, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<char> buffer((values ? maxValueName : maxKeyName) + 1);
    DWORD index = 0;
    for (;;) {
        DWORD length = DWORD(buffer.size());
        const LONG result =
            values ? ::RegEnumValueA(Handle(handle), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
                   : ::RegEnumKeyExA(Handle(handle), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA && buffer.size() < kMaxNameBuffer) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
        ++index;
    }
    return names;
}

// Windows NT deletes only keys without subkeys (Windows 95 deletes whole trees), so the
// subkeys go first, deepest first.
bool DeleteSubtree(HKEY parent, const std::string& name)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    bool complete = true;
    for (const std::string& child : EnumNames(key, false)) complete = DeleteSubtree(key, child) && complete;
    ::RegCloseKey(key);
    return complete && ::RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace

namespace platform {

void RegKey::close()
{
    if (handle_) ::RegCloseKey(Handle(handle_));
    handle_ = nullptr;
}

std::optional<std::string> RegKey::readString(const std::string& name) const
{
    DWORD type = 0;
    std::vector<uint8_t> data;
    if (!QueryValue(handle_, name, type, data) || type != REG_SZ) return std::nullopt;
    // The stored data need not end in a zero byte.
    const size_t length = ::strnlen(reinterpret_cast<const char*>(data.data()), data.size());
    return std::string(reinterpret_cast<const char*>(data.data()), length);
}

std::optional<int32_t> RegKey::readInteger(const std::string& name) const
{
    DWORD type = 0;
    std::vector<uint8_t> data;
    if (!QueryValue(handle_, name, type, data) || type != REG_DWORD || data.size() != 4) return std::nullopt;
    int32_t value = 0;
    std::memcpy(&value, data.data(), 4);
    return value;
}

std::optional<std::vector<uint8_t>> RegKey::readBinary(const std::string& name) const
{
    DWORD type = 0;
    std::vector<uint8_t> data;
    if (!QueryValue(handle_, name, type, data) || type != REG_BINARY) return std::nullopt;
    return data;
}

RegType RegKey::valueType(const std::string& name) const
{
    DWORD type = 0;
    if (!handle_ || ::RegQueryValueExA(Handle(handle_), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return RegType::Missing;
    switch (type) {
    case REG_SZ: return RegType::String;
    case REG_DWORD: return RegType::Integer;
    case REG_BINARY: return RegType::Binary;
    default: return RegType::Other;
    }
}

bool RegKey::writeString(const std::string& name, const std::string& value)
{
    return SetValue(handle_, name, REG_SZ, value.c_str(), std::strlen(value.c_str()) + 1);
}

bool RegKey::writeInteger(const std::string& name, int32_t value)
{
    return SetValue(handle_, name, REG_DWORD, &value, sizeof(value));
}

bool RegKey::writeBinary(const std::string& name, const std::vector<uint8_t>& value)
{
    return SetValue(handle_, name, REG_BINARY, value.data(), value.size());
}

bool RegKey::deleteValue(const std::string& name)
{
    return handle_ && ::RegDeleteValueA(Handle(handle_), name.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> RegKey::subkeyNames() const { return EnumNames(handle_, false); }

std::vector<std::string> RegKey::valueNames() const { return EnumNames(handle_, true); }

RegKey OpenKey(RegRoot root, const std::string& path) { return RegKey(OpenRaw(RootHandle(root), Normalized(path))); }

RegKey CreateKey(RegRoot root, const std::string& path)
{
    HKEY key = nullptr;
    const LONG result = ::RegCreateKeyExA(RootHandle(root), Normalized(path).c_str(), 0, nullptr,
                                          REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    return RegKey(result == ERROR_SUCCESS ? key : nullptr);
}

bool KeyExists(RegRoot root, const std::string& path)
{
    HKEY key = nullptr;
    const LONG result = ::RegOpenKeyExA(RootHandle(root), Normalized(path).c_str(), 0, KEY_QUERY_VALUE, &key);
    if (result == ERROR_SUCCESS) ::RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_ACCESS_DENIED;
}

bool DeleteKeyTree(RegRoot root, const std::string& path)
{
    const std::string key = Normalized(path);
    if (key.empty()) return false;
    const size_t cut = key.rfind('\\');
    if (cut == std::string::npos) return DeleteSubtree(RootHandle(root), key);
    HKEY parent = OpenRaw(RootHandle(root), key.substr(0, cut));
    if (!parent) return false;
    const bool deleted = DeleteSubtree(parent, key.substr(cut + 1));
    ::RegCloseKey(parent);
    return deleted;
}

}  // namespace platform
