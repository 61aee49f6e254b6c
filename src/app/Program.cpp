#include "app/Program.h"

#include <memory>

#include "app/MenuWindows.h"
#include "app/TaskBar.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"
#include "platform/System.h"
#include "platform/SystemInfo.h"
#include "settings/Autostart.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "transport/AspiManager.h"

namespace {
constexpr uint32_t kLowestWindowsMajor = 4;
}  // namespace

std::string ProgramTitle()
{
    std::string name = platform::ProgramFileName();
    const size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

int ProgramMain(const std::vector<std::string>& arguments)
{
    ChooseLanguage();
    const std::string title = ProgramTitle();

    const auto version = platform::OsVersion();
    if (!version || version->major < kLowestWindowsMajor) {
        platform::ShowMessage(platform::MessageKind::Plain, lg_NEEDS_WIN32, title);
        return 1;
    }
    platform::NamedMutex instance;
    if (!instance.Create("einzigartig_" + title)) {
        platform::ShowMessage(platform::MessageKind::Plain, title + lg_ALREADY_STARTED, title);
        return 1;
    }

    StartSettingsStore(arguments);
    std::unique_ptr<TForm> configDialog = MakeConfigDialog();
    configDialog->Hide();  // its window exists, hidden, from the start
    {
        TFormMain main(*configDialog);
        main.FormCreate(arguments);
        // The main window shows itself once created, as a program's main form does.
        if (!platform::ApplicationTerminated()) main.Show();
        platform::RunApplication();
    }
    FreeDriveList();
    UnloadASPI32();
    instance.Close();
    return 0;
}
