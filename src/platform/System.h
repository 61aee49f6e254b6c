#pragma once
// Small system services of the settings store: the system sound, the program's own file
// name and the current date and time as the user's system writes them.
#include <string>

namespace platform {

// Plays a sound by its event name ("MailBeep"); asynchronous returns at once. Silent
// when the sound cannot be played.
void PlaySystemSound(const std::string& name, bool async);

// Full file name of the running program as the process received it (not quoted).
std::string ProgramFileName();

// The current date in the user's short date format and the current time in the user's
// time format. Empty when the system cannot format them.
std::string DateText();
std::string TimeText();

}  // namespace platform
