// System services of the Linux program: no sounds, the program's own path, and the date and
// time in the formats of the user's locale.
#include <langinfo.h>
#include <locale.h>
#include <time.h>
#include <unistd.h>

#include <climits>

#include "platform/System.h"

namespace {

// strftime in the user's time locale, without switching the program's own.
std::string LocalTimeText(const char* format)
{
    const time_t now = ::time(nullptr);
    tm local{};
    if (!::localtime_r(&now, &local)) return "";
    const locale_t user = ::newlocale(LC_TIME_MASK, "", nullptr);
    char text[64];
    size_t length = 0;
    if (user) {
        length = ::strftime_l(text, sizeof text, format, &local, user);
        ::freelocale(user);
    } else {
        length = ::strftime(text, sizeof text, format, &local);
    }
    return std::string(text, length);
}

}  // namespace

namespace platform {

// A terminal program has no sound scheme: "MailBeep" in debug mode stays silent.
void PlaySystemSound(const std::string&, bool) {}

std::string ProgramFileName()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, size_t(length)) : "kalmor";
}

std::string DateText() { return LocalTimeText("%x"); }
std::string TimeText() { return LocalTimeText("%X"); }

}  // namespace platform
