#include "ui/win32/AboutView.h"

namespace {
enum : int { kPanel1 = 1, kPanel2, kAuthor, kKalmor, kLabelVersion, kCopyright, kPanel3, kHomepage, kLabel2, kButtonOK };
}  // namespace

TAboutView::TAboutView(TFormAbout& f)
    : TWin32View(f, {TFormAbout::kClientWidth, TFormAbout::kClientHeight, fsDialog | fsCentred})
{
    AddControls({
        {kPanel1, &f.Panel1, 0, 0, 289, 319, rsNoBevel},
        {kPanel2, &f.Panel2, 8, 8, 273, 273, 0, kPanel1},
        {kAuthor, &f.Author, 53, 32, 167, 20, rsCenter, kPanel2, -13},
        {kKalmor, &f.Kalmor, 20, 56, 233, 41, rsCenter | rsBold, kPanel2, -32, "Arial"},
        {kLabelVersion, &f.LabelVersion, 32, 104, 209, 16, rsCenter, kPanel2, -13},
        {kCopyright, &f.Copyright, 25, 144, 223, 17, rsCenter, kPanel2},
        {kPanel3, &f.Panel3, 24, 176, 225, 2, rsLowered, kPanel2},
        {kHomepage, &f.Homepage, 56, 192, 161, 20, rsCenter, kPanel2, -13},
        {kLabel2, &f.Label2, 8, 216, 257, 13, rsCenter | rsHandCursor, kPanel2},
        {kButtonOK, &f.ButtonOK, 108, 288, 73, 25, rsDefault, kPanel1},
    });
    OnInput(kPanel1, [&f] { f.Panel1Click(); });
    OnInput(kPanel2, [&f] { f.Panel2Click(); });
    OnInput(kLabel2, [&f] { f.Label2Click(); });
    OnInput(kButtonOK, [&f] { f.ButtonOKClick(); });
    OnEscape = [&f] { f.Close(); };
}
