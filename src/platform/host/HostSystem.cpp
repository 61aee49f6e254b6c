#include <cstdio>
#include <mutex>

#include "platform/System.h"
#include "platform/Time.h"
#include "platform/host/HostSystem.h"

namespace {

const char* const kDefaultProgramFileName = "C:\\Program Files\\Kalmor\\kalmor.exe";

// The detection worker writes dates while the test thread may read the played sounds.
std::mutex& StateLock()
{
    static std::mutex lock;
    return lock;
}

std::vector<platform::host::PlayedSound> played;
std::string programFileName = kDefaultProgramFileName;
std::string fixedDate;
std::string fixedTime;

}  // namespace

namespace platform {

void PlaySystemSound(const std::string& name, bool async)
{
    std::lock_guard<std::mutex> guard(StateLock());
    played.push_back({name, async});
}

std::string ProgramFileName()
{
    std::lock_guard<std::mutex> guard(StateLock());
    return programFileName;
}

std::string DateText()
{
    std::lock_guard<std::mutex> guard(StateLock());
    return fixedDate.empty() ? "01.01.2000" : fixedDate;
}

std::string TimeText()
{
    {
        std::lock_guard<std::mutex> guard(StateLock());
        if (!fixedTime.empty()) return fixedTime;
    }
    const uint32_t seconds = (TickCount() / 1000) % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned(seconds / 3600), unsigned(seconds / 60 % 60),
                  unsigned(seconds % 60));
    return text;
}

}  // namespace platform

namespace platform::host {

std::vector<PlayedSound> TakePlayedSounds()
{
    std::lock_guard<std::mutex> guard(StateLock());
    std::vector<PlayedSound> result;
    result.swap(played);
    return result;
}

void SetProgramFileName(const std::string& fileName)
{
    std::lock_guard<std::mutex> guard(StateLock());
    programFileName = fileName;
}

void SetDateTimeText(const std::string& date, const std::string& time)
{
    std::lock_guard<std::mutex> guard(StateLock());
    fixedDate = date;
    fixedTime = time;
}

}  // namespace platform::host
