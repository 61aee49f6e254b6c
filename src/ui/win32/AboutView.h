#pragma once
#include "app/About.h"
#include "ui/win32/Win32View.h"

class TAboutView : public TWin32View {
public:
    explicit TAboutView(TFormAbout& form);
};
