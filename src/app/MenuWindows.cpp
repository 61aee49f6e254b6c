#include "app/MenuWindows.h"

#include <string>

#include "app/About.h"
#include "app/ConfigDlg.h"
#include "app/Version.h"
#include "diag/RegViewForm.h"
#include "measure/EvaluateSpeeds.h"
#include "platform/MessageBox.h"
#include "settings/Language.h"

namespace {

std::string NotBuiltText(const std::string& window) { return window + ": not available in this version."; }

void NotBuiltYet(const std::string& window)
{
    platform::ShowMessage(platform::MessageKind::Information, NotBuiltText(window), lg_KALMOR);
}

}  // namespace

std::unique_ptr<TForm> MakeConfigDialog() { return std::make_unique<TFormConfigDialog>(); }

void ShowAboutWindow()
{
    TFormAbout about;
    about.FormCreate();
    about.ShowModal();
}

void ShowTeacWindow() { NotBuiltYet("Teac 532"); }

void ShowMeasurementWindow() { std::make_unique<TFormEval>()->ShowModal(); }

void ShowDebugWindow(bool bbTest)
{
    const auto window = std::make_unique<TRegViewForm>();
    if (bbTest) window->EnableSweeps();
    window->ShowModal();
}
