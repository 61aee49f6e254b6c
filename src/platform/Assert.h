#pragma once
// Programming errors are assertions that throw: the message carries the text (or
// "Assertion failure" when none is given), the unit name and the source line.
#include <stdexcept>
#include <string>

class EAssertionFailed : public std::logic_error {
public:
    EAssertionFailed(const std::string& text, const std::string& unit, int line);
    const std::string& text() const { return text_; }
    const std::string& unit() const { return unit_; }
    int line() const { return line_; }

private:
    std::string text_;
    std::string unit_;
    int line_;
};

[[noreturn]] void AssertionFailed(const char* text, const char* unit, int line);

// KALMOR_ASSERT(condition, "Targets", "ExecSCSICmd: SRBpending!"); pass "" for no text.
#define KALMOR_ASSERT(cond, unit, text)                        \
    do {                                                       \
        if (!(cond)) ::AssertionFailed((text), (unit), __LINE__); \
    } while (0)
