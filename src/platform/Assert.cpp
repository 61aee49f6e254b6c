#include "platform/Assert.h"

namespace {
std::string FormatAssertion(const std::string& text, const std::string& unit, int line)
{
    const std::string shown = text.empty() ? "Assertion failure" : text;
    return shown + " (" + unit + ", line " + std::to_string(line) + ")";
}
}  // namespace

EAssertionFailed::EAssertionFailed(const std::string& text, const std::string& unit, int line)
    : std::logic_error(FormatAssertion(text, unit, line)), text_(text.empty() ? "Assertion failure" : text),
      unit_(unit), line_(line)
{
}

void AssertionFailed(const char* text, const char* unit, int line)
{
    throw EAssertionFailed(text ? text : "", unit ? unit : "", line);
}
