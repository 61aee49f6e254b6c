// Single values of the store: medium-change detection, start mode, window state,
// detected speeds and measurements, and the tidying done at start.
#include <utility>

#include "settings/StoreInternal.h"

using platform::RegRoot;

namespace {

bool WriteIntegerChecked(platform::RegKey& key, const char* name, int32_t value)
{
    if (!key.writeInteger(name, value)) return false;
    const auto back = key.readInteger(name);
    return back && *back == value;
}

bool WriteStringChecked(platform::RegKey& key, const std::string& name, const std::string& value)
{
    if (!key.writeString(name, value)) return false;
    const auto back = key.readString(name);
    return back && *back == value;
}

std::optional<int32_t> ProductInteger(const char* name)
{
    const platform::RegKey key = platform::OpenKey(RegRoot::CurrentUser, regnames::kProductKey);
    return key.readInteger(name);
}

}  // namespace

bool ReadDetectMediumChange(int drive)
{
    TDriveSettings& d = DriveRecord(drive);
    const platform::RegKey key = platform::OpenKey(RegRoot::CurrentUser, DriveKeyOf(d));
    // Only a REG_DWORD counts; readInteger refuses every other type.
    const auto value = key.readInteger(regnames::kDetectMediumChange);
    if (!value) return false;
    d.DetectMediumChange = *value != 0;
    return true;
}

bool WriteDetectMediumChange(int drive)
{
    const TDriveSettings& d = DriveRecord(drive);
    platform::RegKey key = platform::CreateKey(RegRoot::CurrentUser, DriveKeyOf(d));
    return WriteIntegerChecked(key, regnames::kDetectMediumChange, d.DetectMediumChange ? 1 : 0);
}

uint8_t ReadStartMode()
{
    const auto value = ProductInteger(regnames::kOptions);
    return value && *value >= 0 && *value <= 2 ? uint8_t(*value) : 3;
}

bool WriteStartMode(uint8_t mode)
{
    platform::RegKey key = platform::CreateKey(RegRoot::CurrentUser, regnames::kProductKey);
    return WriteIntegerChecked(key, regnames::kOptions, mode);
}

int32_t ReadTabIndex() { return ProductInteger(regnames::kTabIndex).value_or(-1); }

bool WriteTabIndex(int32_t index)
{
    platform::RegKey key = platform::CreateKey(RegRoot::CurrentUser, regnames::kProductKey);
    return WriteIntegerChecked(key, regnames::kTabIndex, index);
}

bool ReadDialogPosition(int32_t& top, int32_t& left)
{
    const auto storedTop = ProductInteger(regnames::kDialogTop);
    const auto storedLeft = ProductInteger(regnames::kDialogLeft);
    if (!storedTop || !storedLeft) return false;
    top = *storedTop;
    left = *storedLeft;
    return true;
}

bool WriteDialogPosition(int32_t top, int32_t left)
{
    platform::RegKey key = platform::CreateKey(RegRoot::CurrentUser, regnames::kProductKey);
    const bool topOk = WriteIntegerChecked(key, regnames::kDialogTop, top);
    const bool leftOk = WriteIntegerChecked(key, regnames::kDialogLeft, left);
    return topOk && leftOk;
}

int32_t DetectedSpeed(int drive, int n)
{
    const platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, DriveKeyOf(DriveRecord(drive)));
    return key.readInteger(regnames::SpeedValue(n)).value_or(-1);
}

bool WriteMeasurement(int drive, int n, const std::string& result, const std::string& info, bool audio)
{
    platform::RegKey key = platform::OpenKey(RegRoot::LocalMachine, DriveKeyOf(DriveRecord(drive)));
    if (!key.isOpen()) return false;
    const bool resultOk = WriteStringChecked(key, regnames::MeasurementValue(n, audio), result);
    const bool infoOk = WriteStringChecked(key, regnames::MeasurementInfoValue(n, audio), info);
    return resultOk && infoOk;
}

void CheckVersionStamp(bool clear)
{
    for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
        {
            const platform::RegKey key = platform::OpenKey(root, regnames::kProductKey);
            const auto stamp = key.readString(regnames::kVersion);
            if (!clear && stamp && *stamp == regnames::kVersionStamp) continue;
        }
        platform::DeleteKeyTree(root, regnames::kProductKey);
        platform::RegKey key = platform::CreateKey(root, regnames::kProductKey);
        key.writeString(regnames::kVersion, regnames::kVersionStamp);
    }
}

void RemoveMisplacedKeys()
{
    const std::pair<RegRoot, const char*> roots[] = {
        {RegRoot::CurrentUser, regnames::kCurrentUserName},
        {RegRoot::LocalMachine, regnames::kLocalMachineName},
    };
    for (const auto& [root, rootName] : roots) {
        for (const char* below : regnames::kMisplacedKeys) {
            const std::string path = std::string(rootName) + below;
            if (platform::KeyExists(root, path)) platform::DeleteKeyTree(root, path);
        }
    }
}
