#include "platform/Locale.h"
#include "platform/host/HostLocale.h"

namespace {
uint16_t userLanguageId = 0x0409;
}

namespace platform {
uint16_t UserLanguageId() { return userLanguageId; }
}  // namespace platform

namespace platform::host {
void SetUserLanguageId(uint16_t id) { userLanguageId = id; }
}  // namespace platform::host
