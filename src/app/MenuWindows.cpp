#include "app/MenuWindows.h"

#include "app/About.h"
#include "app/ConfigDlg.h"
#include "diag/RegViewForm.h"
#include "measure/EvaluateSpeeds.h"
#include "teac/TeacEEPROM.h"

std::unique_ptr<TForm> MakeConfigDialog() { return std::make_unique<TFormConfigDialog>(); }

void ShowAboutWindow()
{
    TFormAbout about;
    about.FormCreate();
    about.ShowModal();
}

void ShowTeacWindow()
{
    TFormTeacEEPROM teac;
    teac.ShowModal();
}

void ShowMeasurementWindow() { std::make_unique<TFormEval>()->ShowModal(); }

void ShowDebugWindow(bool bbTest)
{
    const auto window = std::make_unique<TRegViewForm>();
    if (bbTest) window->EnableSweeps();
    window->ShowModal();
}
