#pragma once
// The in-memory registry tree shared by the key operations and the REGEDIT4 reader and
// writer. Every access holds TreeLock().
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace platform::host::regtree {

struct Value {
    std::string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct Node {
    std::string name;
    std::vector<std::shared_ptr<Node>> children;  // sorted by NameLess
    std::vector<Value> values;                    // in creation order
    // Set when the key is deleted; handles still open on it then fail, as in Windows.
    bool deleted = false;
};

std::mutex& TreeLock();
std::shared_ptr<Node> RootNode(RegRoot root);

// Case-insensitive comparison over Windows-1252 letters; keys sort as Windows sorts them
// (by the upper-case form).
bool SameName(const std::string& a, const std::string& b);
bool NameLess(const std::string& a, const std::string& b);

// Splits "\A\B\C" into its key names, skipping empty ones; nullopt when the path or a
// name is too long.
std::optional<std::vector<std::string>> SplitPath(const std::string& path);

// Null when missing.
std::shared_ptr<Node> FindChild(const Node& node, const std::string& name);
std::shared_ptr<Node> FindKey(RegRoot root, const std::vector<std::string>& names);
std::shared_ptr<Node> FindOrCreateKey(RegRoot root, const std::vector<std::string>& names);

Value* FindValue(Node& node, const std::string& name);
// Overwriting keeps the value's place in the order and its first name's spelling.
void SetValue(Node& node, const std::string& name, uint32_t type, std::vector<uint8_t> data);

}  // namespace platform::host::regtree
