#include "ui/win32/EvalView.h"

namespace {
enum : int { kPanel = 1, kMemo, kProgressBar, kButtonSkipStep, kButtonSkipDrive, kButtonAbort };
}  // namespace

TEvalView::TEvalView(TFormEval& f)
    : TWin32View(f, {TFormEval::kClientWidth, TFormEval::kClientHeight, fsDialog | fsMinimizeBox | fsCentred,
                     "Comic Sans MS", 8})
{
    AddControls({
        {kPanel, &f.Panel, 0, 0, 498, 208, rsNoBevel},
        {kMemo, &f.Memo, 8, 8, 481, 137, rsNoTabStop, kPanel},
        {kProgressBar, &f.ProgressBar, 8, 152, 481, 9, 0, kPanel},
        {kButtonSkipStep, &f.ButtonSkipStep, 19, 176, 129, 25, 0, kPanel},
        {kButtonSkipDrive, &f.ButtonSkipDrive, 185, 176, 129, 25, 0, kPanel},
        {kButtonAbort, &f.ButtonAbort, 350, 176, 129, 25, rsDefault, kPanel},
    });
    OnInput(kButtonSkipStep, [&f] { f.ButtonSkipStepClick(); });
    OnInput(kButtonSkipDrive, [&f] { f.ButtonSkipDriveClick(); });
    OnInput(kButtonAbort, [&f] { f.ButtonAbortClick(); });
}
