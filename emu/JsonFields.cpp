#include "emu/JsonFields.h"

#include <cctype>

namespace emu {

namespace {

const nlohmann::json kEmptyObject = nlohmann::json::object();

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Follows the parser through the document, so that an error names where it happened.
class PathTracker {
public:
    bool step(nlohmann::json::parse_event_t event, const nlohmann::json& parsed)
    {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
        case Event::object_start: levels_.push_back({false, "", 0}); break;
        case Event::array_start: levels_.push_back({true, "", 0}); break;
        case Event::key: levels_.back().key = parsed.get<std::string>(); break;
        case Event::object_end:
        case Event::array_end:
            levels_.pop_back();
            elementDone();
            break;
        case Event::value: elementDone(); break;
        }
        return true;
    }

    std::string path() const
    {
        std::string text;
        for (const Level& level : levels_) {
            if (level.array) text += "[" + std::to_string(level.index) + "]";
            else if (!level.key.empty()) text += (text.empty() ? "" : ".") + level.key;
        }
        return text;
    }

private:
    struct Level {
        bool array;
        std::string key;    // of an object: the field being read
        size_t index;       // of an array: the element being read
    };

    void elementDone()
    {
        if (!levels_.empty() && levels_.back().array) ++levels_.back().index;
    }

    std::vector<Level> levels_;
};

// nlohmann's messages start with "[json.exception.<kind>.<id>] ".
std::string Problem(const nlohmann::json::exception& e)
{
    const std::string what = e.what();
    const size_t end = what.find("] ");
    return end == std::string::npos ? what : what.substr(end + 2);
}

}  // namespace

nlohmann::json ParseJsonText(const std::string& text)
{
    PathTracker tracker;
    try {
        return nlohmann::json::parse(
            text, [&tracker](int, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
                return tracker.step(event, parsed);
            },
            true, true);
    } catch (const nlohmann::json::parse_error&) {
        throw;
    } catch (const nlohmann::json::exception& e) {
        throw ScenarioError{tracker.path(), Problem(e)};
    }
}

JsonFields::JsonFields(const nlohmann::json& value, std::string path) : value_(value), path_(std::move(path))
{
    if (!value_.is_object()) throw ScenarioError{path_, "expected an object"};
}

std::string JsonFields::path(const char* name) const { return path_.empty() ? name : path_ + "." + name; }

void JsonFields::fail(const char* name, const std::string& problem) const { throw ScenarioError{path(name), problem}; }

const nlohmann::json* JsonFields::field(const char* name)
{
    asked_.insert(name);
    auto it = value_.find(name);
    return it == value_.end() ? nullptr : &*it;
}

bool JsonFields::has(const char* name)
{
    asked_.insert(name);
    return value_.contains(name);
}

int64_t JsonFields::integer(const char* name, int64_t min, int64_t max, int64_t fallback)
{
    const nlohmann::json* v = field(name);
    if (!v) return fallback;
    if (!v->is_number_integer()) fail(name, "expected an integer");
    // Non-negative numbers arrive unsigned and may exceed the signed range.
    const bool inRange = v->is_number_unsigned()
                             ? v->get<uint64_t>() <= uint64_t(max) && int64_t(v->get<uint64_t>()) >= min
                             : v->get<int64_t>() >= min && v->get<int64_t>() <= max;
    if (!inRange)
        fail(name, "value " + v->dump() + " out of range " + std::to_string(min) + ".." + std::to_string(max));
    return v->get<int64_t>();
}

bool JsonFields::boolean(const char* name, bool fallback)
{
    const nlohmann::json* v = field(name);
    if (!v) return fallback;
    if (!v->is_boolean()) fail(name, "expected true or false");
    return v->get<bool>();
}

std::string JsonFields::text(const char* name, size_t maxLength, const std::string& fallback)
{
    const nlohmann::json* v = field(name);
    if (!v) return fallback;
    if (!v->is_string()) fail(name, "expected a string");
    const std::string s = v->get<std::string>();
    if (s.size() > maxLength) fail(name, "longer than " + std::to_string(maxLength) + " characters");
    return s;
}

std::vector<uint8_t> JsonFields::hex(const char* name, size_t maxLength, const std::vector<uint8_t>& fallback)
{
    const nlohmann::json* v = field(name);
    if (!v) return fallback;
    if (!v->is_string()) fail(name, "expected a string of hexadecimal bytes");
    const std::string s = v->get<std::string>();
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < s.size();) {
        if (std::isspace(static_cast<unsigned char>(s[i]))) {
            ++i;
            continue;
        }
        if (i + 1 >= s.size() || HexDigit(s[i]) < 0 || HexDigit(s[i + 1]) < 0)
            fail(name, "not a string of hexadecimal bytes at character " + std::to_string(i + 1));
        bytes.push_back(uint8_t(HexDigit(s[i]) * 16 + HexDigit(s[i + 1])));
        i += 2;
    }
    if (bytes.size() > maxLength) fail(name, "longer than " + std::to_string(maxLength) + " bytes");
    return bytes;
}

size_t JsonFields::choice(const char* name, const std::vector<std::string>& choices, size_t fallback)
{
    const nlohmann::json* v = field(name);
    if (!v) return fallback;
    std::string list;
    for (const std::string& c : choices) list += (list.empty() ? "\"" : ", \"") + c + "\"";
    if (v->is_string()) {
        for (size_t i = 0; i < choices.size(); ++i)
            if (v->get<std::string>() == choices[i]) return i;
    }
    fail(name, "expected one of " + list);
}

JsonFields JsonFields::object(const char* name)
{
    const nlohmann::json* v = field(name);
    return JsonFields(v ? *v : kEmptyObject, path(name));
}

std::vector<std::pair<const nlohmann::json*, std::string>> JsonFields::array(const char* name)
{
    std::vector<std::pair<const nlohmann::json*, std::string>> elements;
    const nlohmann::json* v = field(name);
    if (!v) return elements;
    if (!v->is_array()) fail(name, "expected an array");
    for (size_t i = 0; i < v->size(); ++i) elements.emplace_back(&(*v)[i], path(name) + "[" + std::to_string(i) + "]");
    return elements;
}

void JsonFields::finish() const
{
    for (const auto& [key, value] : value_.items())
        if (!asked_.count(key)) throw ScenarioError{path(key.c_str()), "unknown field"};
}

}  // namespace emu
