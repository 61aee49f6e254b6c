#include "transport/Text.h"

std::string IntToHex(uint32_t value, int digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0x0F]);
        value >>= 4;
    } while (value != 0);
    while (int(text.size()) < digits) text.insert(text.begin(), '0');
    return text;
}

bool BeginsWith(const std::string& prefix, const std::string& text) { return text.find(prefix) == 0; }

int64_t HexNumber(const std::string& text)
{
    if (text.size() > 8) return -1;
    int64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else return -1;
        value = value * 16 + digit;
    }
    return value;
}

std::string TrimSpaces(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}
