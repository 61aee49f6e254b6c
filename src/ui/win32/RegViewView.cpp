#include "ui/win32/RegViewView.h"

#include "ui/win32/Win32RichEdit.h"

namespace {
enum : int { kMemo = 1, kToClipboard, kSave, kButtonClose };
}  // namespace

TRegViewView::TRegViewView(TRegViewForm& f)
    : TWin32View(f, {TRegViewForm::kClientWidth, TRegViewForm::kClientHeight, fsDialog | fsCentred})
{
    AddControls({
        {kMemo, &f.Memo, 8, 8, 617, 409, rsRichEdit, 0, 8, "Courier"},
        {kToClipboard, &f.ToClipboard, 167, 424, 80, 25},
        {kSave, &f.Save, 271, 424, 84, 25},
        {kButtonClose, &f.ButtonClose, 380, 424, 84, 25, rsDefault},
    });
    OnInput(kToClipboard, [&f] { f.ToClipboardClick(); });
    OnInput(kSave, [&f] { f.SaveClick(); });
    OnInput(kButtonClose, [&f] { f.ButtonCloseClick(); });
    HWND box = ControlHandle(kMemo);
    f.CopyAll = [box] { RichEditCopyAll(box); };
    f.SaveRichText = [box](const std::string& path) { return RichEditSaveRtf(box, path); };
}
