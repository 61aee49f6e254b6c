#pragma once
// The window that writes the DAE speed limit into the EEPROM of the TEAC drive
// TeacEepromDrive. German only, in both languages. Unit TeacEEPROM.
#include <cstdint>

#include "ui/Controls.h"
#include "ui/Form.h"

class TFormTeacEEPROM : public TForm {
public:
    static constexpr int kStaticTextCount = 11;

    // Runs FormCreate: TeacEepromDrive must name a drive of the table.
    TFormTeacEEPROM();

    void Button32Click();
    void Button16Click();
    void Button4Click();
    void ButtonExitClick();

    // Caption: the drive's vendor and product as its inquiry gives them.
    TGroupBox GroupBox1;
    // The explanation, one line each; the first is the heading (bold).
    TLabel StaticText[kStaticTextCount];
    TButton Button32;
    TButton Button16;
    TButton Button4;
    TButton ButtonExit;
    // The limit of the middle button: 10 on the CD-532E-B, 16 on the others.
    int32_t MiddleSpeed = 16;

private:
    void FormCreate();
    // Writes the limit and tells the user whether the drive took exactly that one.
    void WriteLimit(int32_t speed);
};
