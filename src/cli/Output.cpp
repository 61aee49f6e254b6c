#include "cli/Output.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/posix/Posix.h"

namespace cli {

namespace {

// Characters on the terminal: UTF-8 continuation bytes take no column.
size_t Width(const std::string& utf8)
{
    return size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (uint8_t(c) & 0xC0) != 0x80; }));
}

std::string Quoted(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (uint8_t(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(uint8_t(c)));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

void Print(const std::string& text)
{
    const std::string utf8 = platform::posix::Utf8FromCp1252(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void Complain(const std::string& text)
{
    std::fprintf(stderr, "kalmor: %s\n", platform::posix::Utf8FromCp1252(text).c_str());
}

std::string Table(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows)
{
    std::vector<size_t> widths;
    const auto measure = [&](const std::vector<std::string>& row) {
        widths.resize(std::max(widths.size(), row.size()), 0);
        for (size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], Width(platform::posix::Utf8FromCp1252(row[i])));
    };
    measure(header);
    for (const auto& row : rows) measure(row);
    const auto line = [&](const std::vector<std::string>& row) {
        std::string text;
        for (size_t i = 0; i < row.size(); ++i) {
            text += row[i];
            if (i + 1 < row.size())
                text += std::string(widths[i] - Width(platform::posix::Utf8FromCp1252(row[i])) + 2, ' ');
        }
        return text + "\n";
    };
    std::string text = line(header);
    std::vector<std::string> rules;
    for (const size_t width : widths) rules.push_back(std::string(width, '-'));
    text += line(rules);
    for (const auto& row : rows) text += line(row);
    return text;
}

std::string Fields(const std::vector<std::pair<std::string, std::string>>& fields)
{
    size_t width = 0;
    for (const auto& field : fields) width = std::max(width, field.first.size() + 1);
    std::string text;
    for (const auto& [label, value] : fields) text += label + ":" + std::string(width - label.size() + 1, ' ') + value + "\n";
    return text;
}

Json::Json(const std::string& text) : kind_(Kind::Text), text_(text) {}
Json::Json(const char* text) : kind_(Kind::Text), text_(text) {}
Json::Json(int64_t number) : kind_(Kind::Integer), integer_(number) {}
Json::Json(double number) : kind_(Kind::Real), real_(number) {}
Json::Json(bool flag) : kind_(Kind::Flag), flag_(flag) {}

Json Json::Object()
{
    Json value;
    value.kind_ = Kind::Object;
    return value;
}

Json Json::Array()
{
    Json value;
    value.kind_ = Kind::Array;
    return value;
}

Json& Json::Set(const std::string& key, Json value)
{
    members_.emplace_back(key, std::move(value));
    return *this;
}

Json& Json::Add(Json value)
{
    items_.push_back(std::move(value));
    return *this;
}

std::string Json::Dump() const
{
    switch (kind_) {
    case Kind::Null: return "null";
    case Kind::Text: return Quoted(platform::posix::Utf8FromCp1252(text_));
    case Kind::Integer: return std::to_string(integer_);
    case Kind::Flag: return flag_ ? "true" : "false";
    case Kind::Real: {
        if (!std::isfinite(real_)) return "null";
        char number[32];
        std::snprintf(number, sizeof number, "%.6g", real_);
        return number;
    }
    case Kind::Object: {
        std::string out = "{";
        for (size_t i = 0; i < members_.size(); ++i)
            out += (i ? "," : "") + Quoted(platform::posix::Utf8FromCp1252(members_[i].first)) + ":" +
                   members_[i].second.Dump();
        return out + "}";
    }
    case Kind::Array: {
        std::string out = "[";
        for (size_t i = 0; i < items_.size(); ++i) out += (i ? "," : "") + items_[i].Dump();
        return out + "]";
    }
    }
    return "null";
}

std::string FactorText(int32_t factor) { return factor < 0 ? "-" : std::to_string(factor) + "x"; }

}  // namespace cli
