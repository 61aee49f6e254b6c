#pragma once
// The Win32 window of the TEAC EEPROM form.
#include "teac/TeacEEPROM.h"
#include "ui/win32/Win32View.h"

class TTeacEEPROMView : public TWin32View {
public:
    explicit TTeacEEPROMView(TFormTeacEEPROM& f);
};
