#pragma once
// Facts about the user's language settings.
#include <cstdint>

namespace platform {

// The Windows language identifier of the current user (not the system's, not the locale's).
uint16_t UserLanguageId();

// The decimal separator of the user's number format (',' in German, '.' in English).
char DecimalSeparator();

}  // namespace platform
