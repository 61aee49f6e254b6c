#include "ui/win32/Views.h"

#include "app/MenuWindows.h"
#include "ui/win32/AboutView.h"
#include "ui/win32/ConfigDlgView.h"
#include "ui/win32/EvalView.h"
#include "ui/win32/MainView.h"
#include "ui/win32/RegViewView.h"
#include "ui/win32/TeacEEPROMView.h"

void InstallViews()
{
    SetViewFactory([](TForm& form) -> std::unique_ptr<TFormView> {
        if (auto* main = dynamic_cast<TFormMain*>(&form)) return std::make_unique<TMainView>(*main);
        if (auto* about = dynamic_cast<TFormAbout*>(&form)) return std::make_unique<TAboutView>(*about);
        if (auto* config = dynamic_cast<TFormConfigDialog*>(&form)) return std::make_unique<TConfigDialogView>(*config);
        if (auto* eval = dynamic_cast<TFormEval*>(&form)) return std::make_unique<TEvalView>(*eval);
        if (auto* report = dynamic_cast<TRegViewForm*>(&form)) return std::make_unique<TRegViewView>(*report);
        if (auto* teac = dynamic_cast<TFormTeacEEPROM*>(&form)) return std::make_unique<TTeacEEPROMView>(*teac);
        return nullptr;
    });
}
