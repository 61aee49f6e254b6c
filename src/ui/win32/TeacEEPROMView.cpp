#include "ui/win32/TeacEEPROMView.h"

namespace {

// The window is 379 x 407 with a fixed frame of 3 pixels and a caption of 19.
constexpr int kClientWidth = 373;
constexpr int kClientHeight = 382;

// Esc sends id 2, which Schließen carries.
enum : int {
    kGroupBox1 = 1,
    kButtonExit = 2,
    kStaticText1,  // the eleven lines: kStaticText1 + 0 .. + 10
    kButton32 = kStaticText1 + TFormTeacEEPROM::kStaticTextCount,
    kButton16,
    kButton4,
};

}  // namespace

TTeacEEPROMView::TTeacEEPROMView(TFormTeacEEPROM& f)
    : TWin32View(f, {kClientWidth, kClientHeight, fsDialog | fsCentred})
{
    // Schließen comes first in the tab order: the window opens with the focus on it, so Enter
    // does not write the EEPROM.
    AddControls({
        {kButtonExit, &f.ButtonExit, 150, 338, 73, 25, rsDefault},
        {kGroupBox1, &f.GroupBox1, 8, 8, 357, 316},
        {kStaticText1 + 0, &f.StaticText[0], 10, 22, 337, 16, rsBold, kGroupBox1},
        {kStaticText1 + 1, &f.StaticText[1], 10, 50, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 2, &f.StaticText[2], 10, 67, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 3, &f.StaticText[3], 10, 94, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 4, &f.StaticText[4], 10, 111, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 5, &f.StaticText[5], 10, 128, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 6, &f.StaticText[6], 10, 155, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 7, &f.StaticText[7], 10, 172, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 8, &f.StaticText[8], 10, 189, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 9, &f.StaticText[9], 10, 216, 337, 16, 0, kGroupBox1},
        {kStaticText1 + 10, &f.StaticText[10], 10, 233, 337, 16, 0, kGroupBox1},
        {kButton32, &f.Button32, 16, 270, 99, 25, 0, kGroupBox1},
        {kButton16, &f.Button16, 129, 270, 99, 25, 0, kGroupBox1},
        {kButton4, &f.Button4, 242, 270, 99, 25, 0, kGroupBox1},
    });
    OnInput(kButton32, [&f] { f.Button32Click(); });
    OnInput(kButton16, [&f] { f.Button16Click(); });
    OnInput(kButton4, [&f] { f.Button4Click(); });
    OnInput(kButtonExit, [&f] { f.ButtonExitClick(); });
}
