// Strict reader of regedit exports (REGEDIT4, and version 5.00 in UTF-16LE) into the
// native registry tree. The whole file is parsed before anything is applied.
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/host/HostRegistry.h"
#include "platform/host/HostRegistryTree.h"

using namespace platform;
using namespace platform::host;
using namespace platform::host::regtree;

namespace {

const char kHeader4[] = "REGEDIT4";
const char kHeader5[] = "Windows Registry Editor Version 5.00";

// Unicode of the Windows-1252 bytes 0x80..0x9F; the five unassigned bytes map to the C1
// control of the same number, as Windows converts them.
const uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

struct ParseError {
    int line = 0;
    std::string text;
};

struct PendingKey {
    RegRoot root;
    std::vector<std::string> names;
    std::vector<Value> values;
};

std::optional<char> ToCp1252(uint16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return char(unit);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == unit) return char(0x80 + i);
    return std::nullopt;
}

// UTF-16LE bytes (no byte order mark) to Windows-1252; the error's line counts the
// line ends decoded before the offending character.
bool DecodeUtf16(const std::string& bytes, std::string& out, ParseError& error)
{
    int line = 1;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        if (i + 1 >= bytes.size()) {
            error = {line, "file ends in the middle of a character"};
            return false;
        }
        const uint16_t unit = uint16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8));
        const std::optional<char> c = ToCp1252(unit);
        if (!c) {
            error = {line, "character without a Windows-1252 form"};
            return false;
        }
        out += *c;
        if (*c == '\n') ++line;
    }
    return true;
}

// Lines without their CR LF or LF. A last line without its line end means the file was
// cut off.
bool SplitLines(const std::string& text, std::vector<std::string>& lines, ParseError& error)
{
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        if (end == std::string::npos) {
            error = {int(lines.size()) + 1, "last line has no line end (file cut off)"};
            return false;
        }
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    return true;
}

bool IsBlank(const std::string& text, size_t from)
{
    return text.find_first_not_of(" \t", from) == std::string::npos;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1..maxDigits hexadecimal digits, nothing else.
std::optional<uint32_t> ParseHex(const std::string& text, size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + uint32_t(digit);
    }
    return value;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A quoted text starting at line[pos] with the escapes \\, \" and \n; pos ends after the
// closing quote.
bool ParseQuoted(const std::string& line, size_t& pos, std::string& out, std::string& error)
{
    ++pos;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == '"') return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (pos >= line.size()) break;
        const char escaped = line[pos++];
        if (escaped == '\\' || escaped == '"') {
            out += escaped;
        } else if (escaped == 'n') {
            out += '\n';
        } else {
            error = "bad escape sequence in quoted text";
            return false;
        }
    }
    error = "unterminated quoted text";
    return false;
}

// "01,02,ff" possibly continued over lines ending in a backslash; lineIndex moves to the
// last line used.
bool ParseHexList(const std::string& first, const std::vector<std::string>& lines, size_t& lineIndex,
                  std::vector<uint8_t>& out, std::string& error)
{
    std::string list = Trim(first);
    while (!list.empty() && list.back() == '\\') {
        list.pop_back();
        if (++lineIndex >= lines.size()) {
            error = "hexadecimal list continued past the end of the file";
            return false;
        }
        list += Trim(lines[lineIndex]);
    }
    if (list.empty()) return true;
    std::istringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        const std::optional<uint32_t> byte = ParseHex(Trim(item), 2);
        if (!byte) {
            error = "bad hexadecimal byte";
            return false;
        }
        out.push_back(uint8_t(*byte));
    }
    if (list.back() == ',') {
        error = "hexadecimal list ends in a comma";
        return false;
    }
    return true;
}

// UTF-16LE string data of a version 5.00 file to Windows-1252.
bool NarrowStringData(std::vector<uint8_t>& data, std::string& error)
{
    ParseError decodeError;
    std::string narrow;
    if (!DecodeUtf16(std::string(data.begin(), data.end()), narrow, decodeError)) {
        error = "string data that is not Windows-1252 text";
        return false;
    }
    data.assign(narrow.begin(), narrow.end());
    return true;
}

bool ParseValueData(const std::string& line, size_t pos, const std::vector<std::string>& lines,
                    size_t& lineIndex, bool unicode, Value& value, std::string& error)
{
    const std::string rest = line.substr(pos);
    if (rest.rfind("\"", 0) == 0) {
        std::string text;
        if (!ParseQuoted(line, pos, text, error)) return false;
        if (!IsBlank(line, pos)) {
            error = "text after the closing quote";
            return false;
        }
        value.type = kRegSz;
        value.data.assign(text.begin(), text.end());
        value.data.push_back(0);
        return true;
    }
    if (rest.rfind("dword:", 0) == 0) {
        const std::optional<uint32_t> number = ParseHex(Trim(rest.substr(6)), 8);
        if (!number) {
            error = "bad dword value";
            return false;
        }
        value.type = kRegDword;
        value.data = {uint8_t(*number), uint8_t(*number >> 8), uint8_t(*number >> 16), uint8_t(*number >> 24)};
        return true;
    }
    size_t listStart = 0;
    if (rest.rfind("hex:", 0) == 0) {
        value.type = kRegBinary;
        listStart = 4;
    } else if (rest.rfind("hex(", 0) == 0 && rest.find("):") != std::string::npos) {
        const size_t close = rest.find("):");
        const std::optional<uint32_t> type = ParseHex(rest.substr(4, close - 4), 8);
        if (!type) {
            error = "bad value type number";
            return false;
        }
        value.type = *type;
        listStart = close + 2;
    } else if (Trim(rest) == "-") {
        error = "deleting values is not supported";
        return false;
    } else {
        error = "unknown value type";
        return false;
    }
    if (!ParseHexList(rest.substr(listStart), lines, lineIndex, value.data, error)) return false;
    const bool stringType = value.type == kRegSz || value.type == kRegExpandSz || value.type == kRegMultiSz;
    return !(unicode && stringType) || NarrowStringData(value.data, error);
}

bool ParseSection(const std::string& line, PendingKey& key, std::string& error)
{
    const size_t close = line.rfind(']');
    if (close == std::string::npos || !IsBlank(line, close + 1)) {
        error = "key line without its closing bracket";
        return false;
    }
    const std::string path = line.substr(1, close - 1);
    if (!path.empty() && path[0] == '-') {
        error = "deleting keys is not supported";
        return false;
    }
    const size_t cut = path.find('\\');
    const std::string rootName = path.substr(0, cut);
    if (SameName(rootName, "HKEY_CURRENT_USER")) {
        key.root = RegRoot::CurrentUser;
    } else if (SameName(rootName, "HKEY_LOCAL_MACHINE")) {
        key.root = RegRoot::LocalMachine;
    } else {
        error = "unknown root key";
        return false;
    }
    const auto names = SplitPath(cut == std::string::npos ? "" : path.substr(cut));
    if (!names) {
        error = "key path too long";
        return false;
    }
    key.names = *names;
    return true;
}

bool Parse(const std::vector<std::string>& lines, bool unicode, std::vector<PendingKey>& keys,
           ParseError& failure)
{
    const char* header = unicode ? kHeader5 : kHeader4;
    if (lines.empty() || lines[0] != header) {
        failure = {1, std::string("first line is not \"") + header + "\""};
        return false;
    }
    std::string error;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int lineNumber = int(i) + 1;
        if (IsBlank(line, 0) || line[0] == ';') continue;
        if (line[0] == '[') {
            keys.emplace_back();
            if (ParseSection(line, keys.back(), error)) continue;
        } else if (line[0] != '"' && line[0] != '@') {
            error = "line is neither a key nor a value";
        } else if (keys.empty()) {
            error = "value before the first key";
        } else {
            Value value;
            size_t pos = 0;
            if (line[0] == '@') {
                pos = 1;
            } else if (!ParseQuoted(line, pos, value.name, error)) {
                failure = {lineNumber, error};
                return false;
            }
            if (pos < line.size() && line[pos] == '=') {
                if (ParseValueData(line, pos + 1, lines, i, unicode, value, error)) {
                    keys.back().values.push_back(std::move(value));
                    continue;
                }
            } else {
                error = "value name without \"=\"";
            }
        }
        failure = {lineNumber, error};
        return false;
    }
    return true;
}

}  // namespace

namespace platform::host {

RegistryLoadResult LoadRegistryText(const std::string& text)
{
    const bool unicode = text.size() >= 2 && uint8_t(text[0]) == 0xFF && uint8_t(text[1]) == 0xFE;
    ParseError failure;
    std::string narrow;
    if (unicode) {
        if (!DecodeUtf16(text.substr(2), narrow, failure)) return RegistryLoadResult{false, failure.line, failure.text};
    } else {
        narrow = text;
    }
    std::vector<std::string> lines;
    std::vector<PendingKey> keys;
    if (!SplitLines(narrow, lines, failure) || !Parse(lines, unicode, keys, failure))
        return RegistryLoadResult{false, failure.line, failure.text};

    std::lock_guard<std::mutex> guard(TreeLock());
    for (PendingKey& key : keys) {
        std::shared_ptr<Node> node = FindOrCreateKey(key.root, key.names);
        for (Value& value : key.values) SetValue(*node, value.name, value.type, std::move(value.data));
    }
    return RegistryLoadResult{true, 0, ""};
}

RegistryLoadResult LoadRegistryFile(const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return RegistryLoadResult{false, 0, "cannot open " + fileName};
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return RegistryLoadResult{false, 0, "cannot read " + fileName};
    return LoadRegistryText(text);
}

}  // namespace platform::host
