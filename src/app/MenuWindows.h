#pragma once
// The windows the tray menu opens, one function each: the one place where each window is
// made, shown modally and destroyed. Windows not built yet are placeholders that say so.
#include <memory>

#include "ui/Controls.h"
#include "ui/Form.h"

// Stands in for the settings dialog until it is built: a window of the dialog's size that
// says so.
class TFormConfigPlaceholder : public TForm {
public:
    TFormConfigPlaceholder();

    TLabel Note;
    TButton ButtonOK;
};

// The settings dialog, made hidden at program start and shown by the Configure command.
std::unique_ptr<TForm> MakeConfigDialog();

void ShowAboutWindow();
void ShowTeacWindow();
void ShowMeasurementWindow();
// bbTest: the debug window's BB test switch starts on.
void ShowDebugWindow(bool bbTest);
