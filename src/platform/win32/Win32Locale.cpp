#include <windows.h>

#include "platform/Locale.h"

namespace platform {
uint16_t UserLanguageId() { return ::GetUserDefaultLangID(); }
}  // namespace platform
