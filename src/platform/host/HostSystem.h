#pragma once
// Controls of the native system services, for tests and tools.
#include <string>
#include <vector>

namespace platform::host {

struct PlayedSound {
    std::string name;
    bool async;
};
// Sounds played since the last call.
std::vector<PlayedSound> TakePlayedSounds();

// What ProgramFileName reports; "C:\Program Files\Kalmor\kalmor.exe" until set.
void SetProgramFileName(const std::string& fileName);

// Fixed texts for DateText and TimeText. Until set (or after setting empty texts) the date
// is "01.01.2000" and the time is the virtual clock as hh:mm:ss since midnight.
void SetDateTimeText(const std::string& date, const std::string& time);

}  // namespace platform::host
