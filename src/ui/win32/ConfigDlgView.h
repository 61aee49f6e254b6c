#pragma once
// The Win32 window of the settings dialog.
#include "app/ConfigDlg.h"
#include "ui/win32/Win32View.h"

class TConfigDialogView : public TWin32View {
public:
    explicit TConfigDialogView(TFormConfigDialog& f);
};
