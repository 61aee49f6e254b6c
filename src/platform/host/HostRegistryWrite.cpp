// The native registry tree as REGEDIT4 text, and its atomic save.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/host/HostRegistry.h"
#include "platform/host/HostRegistryTree.h"

using namespace platform;
using namespace platform::host;
using namespace platform::host::regtree;

namespace {

const char kLineEnd[] = "\r\n";
// regedit breaks hexadecimal lists before this column.
constexpr size_t kHexWrapColumn = 76;

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string HexByte(uint8_t byte)
{
    char text[3];
    std::snprintf(text, sizeof(text), "%02x", byte);
    return text;
}

// True for REG_SZ data that "..." gives back exactly: one zero byte, at the end.
bool IsPlainString(const Value& value)
{
    if (value.type != kRegSz || value.data.empty() || value.data.back() != 0) return false;
    for (size_t i = 0; i + 1 < value.data.size(); ++i)
        if (value.data[i] == 0) return false;
    return true;
}

std::string ValueLine(const Value& value)
{
    std::string line = value.name.empty() ? "@" : Quoted(value.name);
    line += '=';
    if (IsPlainString(value)) {
        return line + Quoted(std::string(value.data.begin(), value.data.end() - 1)) + kLineEnd;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        char number[16];
        std::snprintf(number, sizeof(number), "dword:%02x%02x%02x%02x", value.data[3], value.data[2],
                      value.data[1], value.data[0]);
        return line + number + kLineEnd;
    }
    if (value.type == kRegBinary) {
        line += "hex:";
    } else {
        char type[24];
        std::snprintf(type, sizeof(type), "hex(%x):", unsigned(value.type));
        line += type;
    }
    size_t column = line.size();
    for (size_t i = 0; i < value.data.size(); ++i) {
        const bool last = i + 1 == value.data.size();
        line += HexByte(value.data[i]) + (last ? "" : ",");
        column += 3;
        if (!last && column >= kHexWrapColumn) {
            line += std::string("\\") + kLineEnd + "  ";
            column = 2;
        }
    }
    return line + kLineEnd;
}

void WriteKey(std::string& out, const std::string& path, const Node& node, bool isRoot)
{
    if (!isRoot || !node.values.empty()) {
        out += "[" + path + "]" + kLineEnd;
        for (const Value& value : node.values) out += ValueLine(value);
        out += kLineEnd;
    }
    for (const auto& child : node.children) WriteKey(out, path + "\\" + child->name, *child, false);
}

bool WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// Makes the rename itself durable.
void SyncFolder(const std::string& fileName)
{
    const size_t cut = fileName.rfind('/');
    const std::string folder = cut == std::string::npos ? "." : (cut == 0 ? "/" : fileName.substr(0, cut));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

namespace platform::host {

std::string RegistryText()
{
    std::string out = std::string("REGEDIT4") + kLineEnd + kLineEnd;
    std::lock_guard<std::mutex> guard(TreeLock());
    WriteKey(out, "HKEY_LOCAL_MACHINE", *RootNode(RegRoot::LocalMachine), true);
    WriteKey(out, "HKEY_CURRENT_USER", *RootNode(RegRoot::CurrentUser), true);
    return out;
}

bool SaveRegistryFile(const std::string& fileName)
{
    const std::string text = RegistryText();
    const std::string temp = fileName + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), fileName.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(fileName);
    return true;
}

}  // namespace platform::host
