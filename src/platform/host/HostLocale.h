#pragma once
// Controls of the native locale, for tests and tools.
#include <cstdint>

namespace platform::host {

// The identifier UserLanguageId reports; 0x0409 (English, United States) until set.
void SetUserLanguageId(uint16_t id);
// The separator DecimalSeparator reports; '.' until set.
void SetDecimalSeparator(char separator);

}  // namespace platform::host
