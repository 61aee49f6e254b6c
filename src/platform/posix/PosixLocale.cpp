// The user's language and number format from the locale settings of the environment.
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string>

#include "platform/Locale.h"

namespace {

constexpr uint16_t kGerman = 0x0407;
constexpr uint16_t kEnglish = 0x0409;

// The first of the variables that is set, as the C library chooses: "de_DE.UTF-8", "C", ...
std::string LocaleName(const char* category)
{
    for (const char* name : {"LC_ALL", category, "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return value;
    }
    return "";
}

}  // namespace

namespace platform {

// Only the language matters to the program (German or English texts), so every German
// locale is German (Germany).
uint16_t UserLanguageId()
{
    const std::string name = LocaleName("LC_MESSAGES");
    return name.compare(0, 2, "de") == 0 ? kGerman : kEnglish;
}

// The locale's radix character, read without switching the program's own locale (its
// number output stays "C"). A locale the system does not have falls back to its language.
char DecimalSeparator()
{
    const locale_t numeric = ::newlocale(LC_NUMERIC_MASK, "", nullptr);
    if (numeric == nullptr) return LocaleName("LC_NUMERIC").compare(0, 2, "de") == 0 ? ',' : '.';
    const char* radix = ::nl_langinfo_l(RADIXCHAR, numeric);
    const char separator = radix && radix[0] && !radix[1] ? radix[0] : '.';
    ::freelocale(numeric);
    return separator;
}

}  // namespace platform
