#pragma once
// The registry: keys below the per-user and the per-machine root, string, integer and
// binary values. Win32 goes through advapi32; the native build keeps an in-memory tree
// (platform/host/HostRegistry.h loads and saves it as REGEDIT4 text).
//
// Paths look like "\SOFTWARE\Brannwick\Kalmor" or "SOFTWARE\Brannwick\Kalmor": one
// leading backslash is allowed and means the same as none (the path always starts at
// the root). Every other backslash separates key names, so a profile name holding a
// backslash becomes a key with a subkey, as in Windows. An empty path ("" or "\") is
// the root key itself. Key and value names compare case-insensitively; "" is a key's
// default value. Names are Windows-1252 text; a key name has at most 255 characters and
// a whole path at most 260 (the limit of the ANSI registry calls).
//
// Nothing here throws: failures are false, std::nullopt, RegType::Missing, an empty list
// or a key that is not open.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegRoot { CurrentUser, LocalMachine };

// String is REG_SZ, Integer REG_DWORD, Binary REG_BINARY; every other registry type
// (REG_EXPAND_SZ, REG_MULTI_SZ, ...) is Other. Each read accepts its own type only.
enum class RegType { Missing, String, Integer, Binary, Other };

// An open key; closes itself. A key that is not open fails every operation.
class RegKey {
public:
    RegKey() = default;
    // Takes over a handle of the implementation (HKEY on Windows); null is not open.
    explicit RegKey(void* handle) : handle_(handle) {}
    ~RegKey() { close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    RegKey& operator=(RegKey&& other) noexcept
    {
        if (this != &other) {
            close();
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }

    bool isOpen() const { return handle_ != nullptr; }
    void close();

    // Text up to its first zero byte; nullopt when missing or not a string.
    std::optional<std::string> readString(const std::string& name) const;
    // nullopt when missing or not a REG_DWORD.
    std::optional<int32_t> readInteger(const std::string& name) const;
    // nullopt when missing or not REG_BINARY.
    std::optional<std::vector<uint8_t>> readBinary(const std::string& name) const;
    RegType valueType(const std::string& name) const;

    // Create or overwrite; false when the key is not writable (or was deleted meanwhile).
    // A string is stored up to its first zero byte.
    bool writeString(const std::string& name, const std::string& value);
    bool writeInteger(const std::string& name, int32_t value);
    bool writeBinary(const std::string& name, const std::vector<uint8_t>& value);
    // False when there is no such value or it cannot be deleted.
    bool deleteValue(const std::string& name);

    // Names of the direct subkeys and of the values, in the order the registry lists
    // them: subkeys sorted case-insensitively (Windows and the native tree alike);
    // values in the order they were created natively and on Windows NT, sorted under
    // Wine, so callers must not depend on the order of values. Empty on failure.
    std::vector<std::string> subkeyNames() const;
    std::vector<std::string> valueNames() const;

private:
    void* handle_ = nullptr;
};

// Opens an existing key (read and write where allowed, else read-only); not open when
// the key is missing or cannot be opened.
RegKey OpenKey(RegRoot root, const std::string& path);
// Opens the key, creating it and any missing keys above it; not open on failure.
RegKey CreateKey(RegRoot root, const std::string& path);
bool KeyExists(RegRoot root, const std::string& path);
// Deletes the key with all its subkeys and values. True when the key existed and is
// gone; false when it was missing, is a root, or could not be deleted completely.
bool DeleteKeyTree(RegRoot root, const std::string& path);

}  // namespace platform
