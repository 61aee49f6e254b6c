#pragma once
// The windows the tray menu opens, one function each: the one place where each window is
// made, shown modally and destroyed.
#include <memory>

#include "ui/Form.h"

// The settings dialog, made hidden at program start and shown by the Configure command.
std::unique_ptr<TForm> MakeConfigDialog();

void ShowAboutWindow();
void ShowTeacWindow();
void ShowMeasurementWindow();
// bbTest: the debug window's BB test switch starts on.
void ShowDebugWindow(bool bbTest);
