#pragma once
// Small text helpers shared by every layer above the platform.
#include <cstdint>
#include <string>

// Upper-case hexadecimal, zero-padded to at least digits characters.
std::string IntToHex(uint32_t value, int digits);

// True when the first occurrence of prefix in text is at its first character.
bool BeginsWith(const std::string& prefix, const std::string& text);

// Up to 8 hexadecimal digits, either case, most significant first; -1 for a longer text
// or any other character; an empty text gives 0.
int64_t HexNumber(const std::string& text);

// Removes the blank character (only that one) at both ends.
std::string TrimSpaces(const std::string& text);
