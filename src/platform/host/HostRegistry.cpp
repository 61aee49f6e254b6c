// The native registry: key handles over the in-memory tree.
#include <algorithm>
#include <cstring>

#include "platform/host/HostRegistry.h"
#include "platform/host/HostRegistryTree.h"

namespace platform::host::regtree {

namespace {

constexpr size_t kMaxPath = 260;
constexpr size_t kMaxKeyName = 255;

unsigned char Upper(unsigned char c)
{
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;  // à..þ except ÷
    if (c == 0x9A || c == 0x9C || c == 0x9E) return c - 0x10;  // š œ ž
    if (c == 0xFF) return 0x9F;                                // ÿ
    return c;
}

int CompareNames(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int d = int(Upper(a[i])) - int(Upper(b[i]));
        if (d != 0) return d;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

std::mutex& TreeLock()
{
    static std::mutex lock;
    return lock;
}

std::shared_ptr<Node> RootNode(RegRoot root)
{
    static const std::shared_ptr<Node> currentUser = std::make_shared<Node>();
    static const std::shared_ptr<Node> localMachine = std::make_shared<Node>();
    return root == RegRoot::CurrentUser ? currentUser : localMachine;
}

bool SameName(const std::string& a, const std::string& b) { return CompareNames(a, b) == 0; }

bool NameLess(const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; }

std::optional<std::vector<std::string>> SplitPath(const std::string& path)
{
    std::vector<std::string> names;
    size_t length = 0;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('\\', pos);
        if (end == std::string::npos) end = path.size();
        if (end - pos > kMaxKeyName) return std::nullopt;
        if (end > pos) {
            length += (names.empty() ? 0 : 1) + (end - pos);
            names.push_back(path.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    if (length > kMaxPath) return std::nullopt;
    return names;
}

std::shared_ptr<Node> FindChild(const Node& node, const std::string& name)
{
    for (const auto& child : node.children)
        if (SameName(child->name, name)) return child;
    return nullptr;
}

std::shared_ptr<Node> FindKey(RegRoot root, const std::vector<std::string>& names)
{
    std::shared_ptr<Node> node = RootNode(root);
    for (const std::string& name : names) {
        node = FindChild(*node, name);
        if (!node) return nullptr;
    }
    return node;
}

std::shared_ptr<Node> FindOrCreateKey(RegRoot root, const std::vector<std::string>& names)
{
    std::shared_ptr<Node> node = RootNode(root);
    for (const std::string& name : names) {
        std::shared_ptr<Node> child = FindChild(*node, name);
        if (!child) {
            child = std::make_shared<Node>();
            child->name = name;
            auto place = std::upper_bound(node->children.begin(), node->children.end(), child,
                                          [](const auto& a, const auto& b) { return NameLess(a->name, b->name); });
            node->children.insert(place, child);
        }
        node = child;
    }
    return node;
}

Value* FindValue(Node& node, const std::string& name)
{
    for (Value& value : node.values)
        if (SameName(value.name, name)) return &value;
    return nullptr;
}

void SetValue(Node& node, const std::string& name, uint32_t type, std::vector<uint8_t> data)
{
    if (Value* value = FindValue(node, name)) {
        value->type = type;
        value->data = std::move(data);
        return;
    }
    node.values.push_back(Value{name, type, std::move(data)});
}

}  // namespace platform::host::regtree

using namespace platform::host;
using namespace platform::host::regtree;

namespace {

// What a RegKey's handle points to natively.
struct OpenKeyRecord {
    std::shared_ptr<Node> node;
};

// The key's node, or null when the handle is closed or its key has been deleted.
Node* Live(void* handle)
{
    if (!handle) return nullptr;
    Node* node = static_cast<OpenKeyRecord*>(handle)->node.get();
    return node->deleted ? nullptr : node;
}

std::optional<Value> CopyValue(void* handle, const std::string& name)
{
    std::lock_guard<std::mutex> guard(TreeLock());
    Node* node = Live(handle);
    if (!node) return std::nullopt;
    const Value* value = FindValue(*node, name);
    if (!value) return std::nullopt;
    return *value;
}

bool Store(void* handle, const std::string& name, uint32_t type, std::vector<uint8_t> data)
{
    std::lock_guard<std::mutex> guard(TreeLock());
    Node* node = Live(handle);
    if (!node) return false;
    SetValue(*node, name, type, std::move(data));
    return true;
}

void MarkDeleted(Node& node)
{
    node.deleted = true;
    for (const auto& child : node.children) MarkDeleted(*child);
}

}  // namespace

namespace platform {

void RegKey::close()
{
    delete static_cast<OpenKeyRecord*>(handle_);
    handle_ = nullptr;
}

std::optional<std::string> RegKey::readString(const std::string& name) const
{
    const std::optional<Value> value = CopyValue(handle_, name);
    if (!value || value->type != kRegSz) return std::nullopt;
    const auto end = std::find(value->data.begin(), value->data.end(), uint8_t(0));
    return std::string(value->data.begin(), end);
}

std::optional<int32_t> RegKey::readInteger(const std::string& name) const
{
    const std::optional<Value> value = CopyValue(handle_, name);
    if (!value || value->type != kRegDword || value->data.size() != 4) return std::nullopt;
    uint32_t bits = 0;
    std::memcpy(&bits, value->data.data(), 4);  // REG_DWORD is little-endian, as this host
    return int32_t(bits);
}

std::optional<std::vector<uint8_t>> RegKey::readBinary(const std::string& name) const
{
    std::optional<Value> value = CopyValue(handle_, name);
    if (!value || value->type != kRegBinary) return std::nullopt;
    return std::move(value->data);
}

RegType RegKey::valueType(const std::string& name) const
{
    const std::optional<Value> value = CopyValue(handle_, name);
    if (!value) return RegType::Missing;
    switch (value->type) {
    case kRegSz: return RegType::String;
    case kRegDword: return RegType::Integer;
    case kRegBinary: return RegType::Binary;
    default: return RegType::Other;
    }
}

bool RegKey::writeString(const std::string& name, const std::string& value)
{
    const char* text = value.c_str();
    std::vector<uint8_t> data(text, text + std::strlen(text) + 1);
    return Store(handle_, name, kRegSz, std::move(data));
}

bool RegKey::writeInteger(const std::string& name, int32_t value)
{
    std::vector<uint8_t> data(4);
    std::memcpy(data.data(), &value, 4);
    return Store(handle_, name, kRegDword, std::move(data));
}

bool RegKey::writeBinary(const std::string& name, const std::vector<uint8_t>& value)
{
    return Store(handle_, name, kRegBinary, value);
}

bool RegKey::deleteValue(const std::string& name)
{
    std::lock_guard<std::mutex> guard(TreeLock());
    Node* node = Live(handle_);
    if (!node) return false;
    for (auto it = node->values.begin(); it != node->values.end(); ++it) {
        if (SameName(it->name, name)) {
            node->values.erase(it);
            return true;
        }
    }
    return false;
}

std::vector<std::string> RegKey::subkeyNames() const
{
    std::lock_guard<std::mutex> guard(TreeLock());
    std::vector<std::string> names;
    if (Node* node = Live(handle_))
        for (const auto& child : node->children) names.push_back(child->name);
    return names;
}

std::vector<std::string> RegKey::valueNames() const
{
    std::lock_guard<std::mutex> guard(TreeLock());
    std::vector<std::string> names;
    if (Node* node = Live(handle_))
        for (const Value& value : node->values) names.push_back(value.name);
    return names;
}

RegKey OpenKey(RegRoot root, const std::string& path)
{
    const auto names = SplitPath(path);
    if (!names) return RegKey();
    std::lock_guard<std::mutex> guard(TreeLock());
    std::shared_ptr<Node> node = FindKey(root, *names);
    return node ? RegKey(new OpenKeyRecord{node}) : RegKey();
}

RegKey CreateKey(RegRoot root, const std::string& path)
{
    const auto names = SplitPath(path);
    if (!names) return RegKey();
    std::lock_guard<std::mutex> guard(TreeLock());
    return RegKey(new OpenKeyRecord{FindOrCreateKey(root, *names)});
}

bool KeyExists(RegRoot root, const std::string& path)
{
    const auto names = SplitPath(path);
    if (!names) return false;
    std::lock_guard<std::mutex> guard(TreeLock());
    return FindKey(root, *names) != nullptr;
}

bool DeleteKeyTree(RegRoot root, const std::string& path)
{
    auto names = SplitPath(path);
    if (!names || names->empty()) return false;
    std::lock_guard<std::mutex> guard(TreeLock());
    const std::string last = names->back();
    names->pop_back();
    std::shared_ptr<Node> parent = FindKey(root, *names);
    if (!parent) return false;
    auto& siblings = parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
        if (SameName((*it)->name, last)) {
            MarkDeleted(**it);
            siblings.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace platform

namespace platform::host {

void ClearRegistry()
{
    std::lock_guard<std::mutex> guard(TreeLock());
    for (RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine}) {
        Node& node = *RootNode(root);
        for (const auto& child : node.children) MarkDeleted(*child);
        node.children.clear();
        node.values.clear();
    }
}

bool SetRawValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                 const std::vector<uint8_t>& data)
{
    const auto names = SplitPath(path);
    if (!names) return false;
    std::lock_guard<std::mutex> guard(TreeLock());
    SetValue(*FindOrCreateKey(root, *names), name, type, data);
    return true;
}

}  // namespace platform::host
