#pragma once
// The main window: the borderless splash that stays on top, the owner of the tray icon
// (its callback message reaches TFormMain::TrayMessage) and of the tray menu.
#include <vector>

#include "app/TaskBar.h"
#include "ui/win32/Win32Menu.h"
#include "ui/win32/Win32View.h"

class TMainView : public TWin32View {
public:
    explicit TMainView(TFormMain& form);

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    TFormMain& main_;
    // The splash's raised frame and its separator line: decoration only.
    TPanel back_;
    TPanel separator_;
    std::vector<TPopupItem> menu_;
};
