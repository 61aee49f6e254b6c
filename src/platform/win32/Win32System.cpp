#include <windows.h>
#include <mmsystem.h>

#include "platform/System.h"

namespace platform {

void PlaySystemSound(const std::string& name, bool async)
{
    ::PlaySoundA(name.c_str(), nullptr, SND_ALIAS | SND_NODEFAULT | (async ? SND_ASYNC : SND_SYNC));
}

std::string ProgramFileName()
{
    char name[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, name, MAX_PATH);
    return (length == 0 || length >= MAX_PATH) ? std::string() : std::string(name, length);
}

std::string DateText()
{
    char text[128] = {};
    const int length = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, sizeof text);
    return length > 0 ? std::string(text) : std::string();
}

std::string TimeText()
{
    char text[128] = {};
    const int length = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, sizeof text);
    return length > 0 ? std::string(text) : std::string();
}

}  // namespace platform
