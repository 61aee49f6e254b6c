#include "settings/Autostart.h"

#include "platform/Registry.h"
#include "platform/System.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

using platform::RegRoot;

namespace {

// A moved program file corrects its own entry; a user-started program has none.
void MaintainRunEntry()
{
    platform::RegKey key = platform::OpenKey(RegRoot::CurrentUser, regnames::kRunKey);
    if (key.valueType(regnames::kRunValue) == platform::RegType::Missing) return;
    if (StartMode == 2) {
        key.deleteValue(regnames::kRunValue);
    } else if (StartMode <= 1) {
        const std::string command = AutostartCommand();
        if (key.readString(regnames::kRunValue) != command) key.writeString(regnames::kRunValue, command);
    }
}

}  // namespace

std::string AutostartCommand()
{
    return platform::ProgramFileName() + " " + regnames::kStartUpOption;
}

CommandLineOptions StartSettingsStore(const std::vector<std::string>& arguments)
{
    numDrives = 0;
    TeacEepromDrive = -1;
    const CommandLineOptions options = ScanCommandLine(arguments);
    StartedByWindows = options.startUp;
    InactivityOption = options.inactivity;
    DebugMode = options.debug;

    CheckVersionStamp(options.clear);

    StartMode = ReadStartMode();
    if (StartMode == 3) {
        StartMode = StartedByWindows ? 0 : 2;
        WriteStartMode(StartMode);
    }
    MaintainRunEntry();
    return options;
}

bool SetAutostart(bool on)
{
    if (on) {
        platform::RegKey key = platform::CreateKey(RegRoot::CurrentUser, regnames::kRunKey);
        const std::string command = AutostartCommand();
        return key.writeString(regnames::kRunValue, command) && key.readString(regnames::kRunValue) == command;
    }
    platform::RegKey key = platform::OpenKey(RegRoot::CurrentUser, regnames::kRunKey);
    // Without a Run key there is no entry; a Run key that cannot be opened may hold one.
    if (!key.isOpen()) return !platform::KeyExists(RegRoot::CurrentUser, regnames::kRunKey);
    if (key.valueType(regnames::kRunValue) != platform::RegType::Missing) key.deleteValue(regnames::kRunValue);
    return key.valueType(regnames::kRunValue) == platform::RegType::Missing;
}
