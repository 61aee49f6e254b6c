#include "platform/Locale.h"
#include "platform/host/HostLocale.h"

namespace {
uint16_t userLanguageId = 0x0409;
char decimalSeparator = '.';
}

namespace platform {
uint16_t UserLanguageId() { return userLanguageId; }
char DecimalSeparator() { return decimalSeparator; }
}  // namespace platform

namespace platform::host {
void SetUserLanguageId(uint16_t id) { userLanguageId = id; }
void SetDecimalSeparator(char separator) { decimalSeparator = separator; }
}  // namespace platform::host
