#include <windows.h>

#include "platform/Locale.h"

namespace platform {
uint16_t UserLanguageId() { return ::GetUserDefaultLangID(); }

char DecimalSeparator()
{
    char text[4] = {};
    return ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 1 ? text[0] : '.';
}
}  // namespace platform
