#include "app/MenuWindows.h"

#include <string>

#include "app/About.h"
#include "app/Version.h"
#include "platform/MessageBox.h"
#include "settings/Language.h"

namespace {

// Stands in for the settings dialog until it is built: a window of the dialog's size.
class TFormConfigPlaceholder : public TForm {
public:
    TFormConfigPlaceholder() : TForm(384, 306) { Caption = "  " + lg_AUTHOR + " " + lg_KALMOR + " " + kProgramVersion; }
};

void NotBuiltYet(const std::string& window)
{
    platform::ShowMessage(platform::MessageKind::Information, window + ": not available in this version.", lg_KALMOR);
}

}  // namespace

std::unique_ptr<TForm> MakeConfigDialog() { return std::make_unique<TFormConfigPlaceholder>(); }

void ShowAboutWindow()
{
    TFormAbout about;
    about.FormCreate();
    about.ShowModal();
}

void ShowTeacWindow() { NotBuiltYet("Teac 532"); }

void ShowMeasurementWindow() { NotBuiltYet(lg_EVAL_CAPTION); }

void ShowDebugWindow(bool) { NotBuiltYet(lg_DEBUG_INFO); }
