#pragma once
// Which family of Windows the program runs on.
namespace platform {

// True on Windows NT, 2000 and later (platform id 2 of the version record); false on
// Windows 95/98 and when the system does not say.
bool IsWindowsNt();

}  // namespace platform
