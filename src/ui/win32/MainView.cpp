#include "ui/win32/MainView.h"

#include "platform/Shell.h"
#include "platform/win32/Win32Shell.h"

namespace {

enum : int {
    kBack = 1,
    kAuthor,
    kKalmor,
    kLabelVersion,
    kCopyright,
    kSeparator,
    kProgressHint,
    kProgressPanel,
    kProgressBar,
    kHomepage,
    kHomepageURL,
};

}  // namespace

TMainView::TMainView(TFormMain& f)
    : TWin32View(f, {TFormMain::kWidth, TFormMain::kHeight, fsSplash | fsCentred}), main_(f)
{
    AddControls({
        {kBack, &back_, 0, 0, TFormMain::kWidth, TFormMain::kHeight},
        {kAuthor, &f.Author, 10, 14, 254, 16, rsCenter, kBack, -13},
        {kKalmor, &f.Kalmor, 10, 34, 254, 44, rsCenter | rsBold, kBack, -36, "Arial"},
        {kLabelVersion, &f.LabelVersion, 10, 84, 254, 16, rsCenter, kBack, -13},
        {kCopyright, &f.Copyright, 10, 108, 254, 16, rsCenter, kBack},
        {kSeparator, &separator_, 24, 134, 226, 2, rsLowered, kBack},
        {kProgressHint, &f.ProgressHint, 10, 152, 254, 18, rsCenter, kBack},
        {kProgressPanel, &f.ProgressPanel, 24, 180, 226, 24, rsLowered, kBack},
        {kProgressBar, &f.ProgressBar, 4, 4, 216, 16, 0, kProgressPanel},
        {kHomepage, &f.Homepage, 10, 160, 254, 18, rsCenter, kBack, -13},
        {kHomepageURL, &f.HomepageURL, 10, 184, 254, 16, rsCenter, kBack},
    });
    for (TMenuItem* item : f.PopupMenu1.Items) menu_.push_back({item, nullptr});
    const std::vector<std::pair<TMenuItem*, void (TFormMain::*)()>> handlers = {
        {&f.About, &TFormMain::AboutClick},
        {&f.Config, &TFormMain::ConfigClick},
        {&f.ConfigTeac, &TFormMain::ConfigTeacClick},
        {&f.StartSpeedEvaluation, &TFormMain::StartSpeedEvaluationClick},
        {&f.DebugInfo, &TFormMain::DebugInfoClick},
        {&f.StartAgain, &TFormMain::StartAgainClick},
        {&f.EndTopic, &TFormMain::EndTopicClick},
    };
    for (TPopupItem& entry : menu_)
        for (const auto& [item, handler] : handlers)
            if (entry.item == item) entry.onClick = [&f, handler = handler] { (f.*handler)(); };
    f.PopupMenu1.OnPopup = [this](int, int) { ShowPopupMenu(Handle(), menu_); };
    platform::win32::SetTrayWindow(Handle());
}

bool TMainView::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message == platform::kTrayCallbackMessage) {
        main_.TrayMessage(LOWORD(lParam));
        result = 0;
        return true;
    }
    if (message == WM_SETCURSOR && main_.HourglassCursor) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        result = TRUE;
        return true;
    }
    return false;
}
