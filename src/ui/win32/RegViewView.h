#pragma once
#include "diag/RegViewForm.h"
#include "ui/win32/Win32View.h"

class TRegViewView : public TWin32View {
public:
    explicit TRegViewView(TRegViewForm& form);
};
