#pragma once
// Helpers shared by the files of the settings store.
#include <string>

#include "platform/Registry.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

// The record of drive index drive; asserts 0 <= drive < numDrives.
TDriveSettings& DriveRecord(int drive);

// Registry paths of a drive's keys.
std::string DriveKeyOf(const TDriveSettings& d);
// Empty for a name that would address another key than a profile of its own.
std::string ProfileKeyOf(const TDriveSettings& d, const std::string& profile);
