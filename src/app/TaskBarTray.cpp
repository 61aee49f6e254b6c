// The resident part of the main window: the tray icon's clicks, its menu's commands and
// the lock timer.
#include "app/MenuWindows.h"
#include "app/TaskBar.h"
#include "diag/RegViewForm.h"
#include "platform/Application.h"
#include "platform/Assert.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "settings/Language.h"
#include "settings/SpeedLock.h"
#include "settings/Store.h"

namespace {

constexpr uint32_t kLeftButtonDown = 0x201;
constexpr uint32_t kLeftButtonDoubleClick = 0x203;
constexpr uint32_t kRightButtonDown = 0x204;
// Distance from the screen's edges when the work area is unknown.
constexpr int kScreenMargin = 40;

void NoDrivesMessage() { platform::ShowMessage(platform::MessageKind::Error, lg_NO_DRIVES, lg_KALMOR); }

}  // namespace

void TFormMain::TrayMessage(uint32_t mouseMessage)
{
    if (starting_) return;
    if (mouseMessage == kLeftButtonDown || mouseMessage == kLeftButtonDoubleClick) {
        // A click toggles the dialog when it has the focus and fetches it when it has not.
        configDialog_.BringToFront();
        if (!(settingsDialogOpen_ && !configDialog_.Active())) ConfigClick();
        return;
    }
    if (mouseMessage != kRightButtonDown) return;
    if (settingsDialogOpen_) {
        if (configDialog_.Active())
            configDialog_.Close();
        else
            configDialog_.BringToFront();
    }
    if (windowOpen_) return;
    // The menu closes by itself only when its owner is the foreground window.
    BringToFront();
    const platform::ScreenPoint at = platform::CursorPos();
    PopupMenu1.Popup(at.x, at.y);
}

void TFormMain::LockTimerTimer()
{
    // The debug window's report owns the drives until it ends; ending the program waits too,
    // as the report uses the drive list.
    if (DebugReportRunning()) return;
    if (closeRequested_) {
        Close();
        return;
    }
    platform::TrayIcon(platform::TrayAction::Modify, lg_KALMOR, platform::TrayIconKind::Busy);
    for (int drive = 0; drive < numDrives; ++drive) MonitorDrive(drive);
    platform::TrayIcon(platform::TrayAction::Modify, lg_KALMOR, platform::TrayIconKind::Normal);
}

void TFormMain::RunMenuWindow(const std::function<void()>& show)
{
    windowOpen_ = true;
    const bool lockWasEnabled = LockTimer.Enabled();
    LockTimer.SetEnabled(false);
    show();
    LockTimer.SetEnabled(lockWasEnabled);
    windowOpen_ = false;
}

void TFormMain::AboutClick()
{
    if (windowOpen_) return;
    RunMenuWindow(ShowAboutWindow);
}

void TFormMain::ConfigClick()
{
    if (windowOpen_) {
        // A second click closes the dialog.
        if (settingsDialogOpen_) configDialog_.Close();
        return;
    }
    if (numDrives == 0) {
        NoDrivesMessage();
        return;
    }
    settingsDialogOpen_ = true;
    PlaceConfigDialog();
    RunMenuWindow([this] { configDialog_.ShowModal(); });
    WriteDialogPosition(configDialog_.Top, configDialog_.Left);
    settingsDialogOpen_ = false;
}

// Bottom right of the work area, or a stored place that is not further right or lower.
void TFormMain::PlaceConfigDialog()
{
    int left = 0;
    int top = 0;
    if (const auto area = platform::DesktopWorkArea()) {
        left = area->right - configDialog_.Width;
        top = area->bottom - configDialog_.Height;
    } else {
        left = platform::ScreenWidth() - configDialog_.Width - kScreenMargin;
        top = platform::ScreenHeight() - configDialog_.Height - kScreenMargin;
    }
    int32_t storedTop = -1;
    int32_t storedLeft = -1;
    if (ReadDialogPosition(storedTop, storedLeft) && storedTop >= 0 && storedLeft >= 0 && storedTop <= top &&
        storedLeft <= left) {
        top = storedTop;
        left = storedLeft;
    }
    configDialog_.Left = left;
    configDialog_.Top = top;
}

void TFormMain::ConfigTeacClick()
{
    if (windowOpen_) return;
    KALMOR_ASSERT(TeacEepromDrive >= 0 && TeacEepromDrive < numDrives, "TaskBar", "");
    RunMenuWindow(ShowTeacWindow);
}

void TFormMain::StartSpeedEvaluationClick()
{
    if (windowOpen_) return;
    if (numDrives == 0) {
        NoDrivesMessage();
        return;
    }
    RunMenuWindow(ShowMeasurementWindow);
}

void TFormMain::DebugInfoClick()
{
    if (windowOpen_) return;
    windowOpen_ = true;
    if (numDrives > 0 &&
        platform::ShowMessage(platform::MessageKind::Confirmation, lg_MEASURE_FIRST, lg_KALMOR) ==
            platform::MessageResult::Yes) {
        const bool lockWasEnabled = LockTimer.Enabled();
        LockTimer.SetEnabled(false);
        ShowMeasurementWindow();
        LockTimer.SetEnabled(lockWasEnabled);
    }
    // The lock timer keeps running under the debug window.
    ShowDebugWindow(bbOption_);
    windowOpen_ = false;
}

void TFormMain::StartAgainClick()
{
    if (windowOpen_) return;
    windowOpen_ = true;
    HourglassCursor = true;
    Show();
    LockTimer.SetEnabled(false);
    FreeDriveList();
    Init_Hostadaptor.SetEnabled(true);
    windowOpen_ = false;
}

void TFormMain::EndTopicClick() { Close(); }

bool TFormMain::FormCloseQuery()
{
    closeRequested_ = true;
    return true;
}

void TFormMain::FormClose()
{
    LockTimer.SetEnabled(false);
    FreeDriveList();
    platform::TrayIcon(platform::TrayAction::Delete, lg_KALMOR, platform::TrayIconKind::Normal);
    platform::TerminateApplication();
}
