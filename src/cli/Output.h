#pragma once
// What the program writes: texts are Windows-1252 inside the program and UTF-8 outside, tables
// for people and JSON for scripts.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace cli {

// Writes text (Windows-1252) to stdout as UTF-8.
void Print(const std::string& text);
// "kalmor: " + text on stderr, as UTF-8.
void Complain(const std::string& text);

// Columns padded to their widest cell, the header underlined.
std::string Table(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows);
// "Label:" padded to a common width, then the value; one line per pair.
std::string Fields(const std::vector<std::pair<std::string, std::string>>& fields);

// A JSON value built in order; strings are Windows-1252 until written.
class Json {
public:
    Json() = default;  // null
    Json(const std::string& text);
    Json(const char* text);
    Json(int64_t number);
    Json(int32_t number) : Json(int64_t(number)) {}
    Json(uint32_t number) : Json(int64_t(number)) {}
    Json(double number);
    Json(bool flag);
    static Json Object();
    static Json Array();

    // Adds a member of an object (in order), or an item of an array; returns *this.
    Json& Set(const std::string& key, Json value);
    Json& Add(Json value);
    std::string Dump() const;

private:
    enum class Kind { Null, Text, Integer, Real, Flag, Object, Array };
    Kind kind_ = Kind::Null;
    std::string text_;
    int64_t integer_ = 0;
    double real_ = 0;
    bool flag_ = false;
    std::vector<std::pair<std::string, Json>> members_;
    std::vector<Json> items_;
};

// A factor or -1 as text: "16x", or "-" when unknown.
std::string FactorText(int32_t factor);

}  // namespace cli
