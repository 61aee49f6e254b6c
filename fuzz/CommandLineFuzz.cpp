// The command line at program start, on a registry the input also gives: the text up to the
// first zero byte is loaded as a regedit export, the zero-separated rest are the arguments.
// After the start the start mode is set and an existing Run entry agrees with it.
#include <string>
#include <vector>

#include "fuzz/FuzzRun.h"
#include "platform/Registry.h"
#include "platform/host/Host.h"
#include "platform/host/HostRegistry.h"
#include "settings/Autostart.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::host::Reset();
    std::vector<std::string> pieces(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) pieces.emplace_back();
        else pieces.back() += char(data[i]);
    }
    platform::host::LoadRegistryText(pieces[0]);
    const std::vector<std::string> arguments(pieces.begin() + 1, pieces.end());
    const CommandLineOptions options = StartSettingsStore(arguments);

    if (StartMode > 2) fuzz::Finding("start mode left unset: " + std::to_string(StartMode));
    if (StartedByWindows != options.startUp) fuzz::Finding("/StartUp not taken");
    platform::RegKey run = platform::OpenKey(platform::RegRoot::CurrentUser, regnames::kRunKey);
    const bool hasEntry = run.valueType(regnames::kRunValue) != platform::RegType::Missing;
    if (StartMode == 2 && hasEntry) fuzz::Finding("a Run entry stays for a program the user starts");
    if (StartMode <= 1 && hasEntry && run.readString(regnames::kRunValue) != AutostartCommand())
        fuzz::Finding("the Run entry does not start this program");
    return 0;
}
