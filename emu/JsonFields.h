#pragma once
// Reads one object of a scenario file field by field. Every complaint names the field by
// its path ("hostAdapters[0].targets[1].inquiry.vendor") and ends the load.
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace emu {

struct ScenarioError {
    std::string field;  // path of the field; empty for the file as a whole
    std::string problem;
};

// Parses a scenario text (comments allowed). A malformed text throws nlohmann's parse_error; any
// other error of the parser (a number beyond double range, say) a ScenarioError naming the
// field that held it.
nlohmann::json ParseJsonText(const std::string& text);

class JsonFields {
public:
    // Throws ScenarioError unless value is an object.
    JsonFields(const nlohmann::json& value, std::string path);

    bool has(const char* name);
    int64_t integer(const char* name, int64_t min, int64_t max, int64_t fallback);
    bool boolean(const char* name, bool fallback);
    std::string text(const char* name, size_t maxLength, const std::string& fallback);
    // Hexadecimal byte pairs, blanks between bytes allowed: "2A 14 03".
    std::vector<uint8_t> hex(const char* name, size_t maxLength, const std::vector<uint8_t>& fallback);
    // Index of the text among the choices.
    size_t choice(const char* name, const std::vector<std::string>& choices, size_t fallback);
    // The object field, or an empty object when absent.
    JsonFields object(const char* name);
    // The elements of an array field (none when absent) with their paths.
    std::vector<std::pair<const nlohmann::json*, std::string>> array(const char* name);

    // Throws for the first field that no read asked for.
    void finish() const;
    [[noreturn]] void fail(const char* name, const std::string& problem) const;
    std::string path(const char* name) const;

private:
    const nlohmann::json* field(const char* name);

    const nlohmann::json& value_;
    std::string path_;
    std::set<std::string> asked_;
};

}  // namespace emu
