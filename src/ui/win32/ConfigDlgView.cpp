// The settings dialog's window: its controls at the places of the form design. Controls on
// the tab control and in the group box are placed in their parents' coordinates.
#include "ui/win32/ConfigDlgView.h"

namespace {

enum : int {
    kTabControl = 100,
    kTimerInterval,
    kDetectMediumChange,
    kIndividual,
    kGroupBoxDrive,
    kSpeedBar,
    kSpeedLbl,
    kStaticCDinserted,
    kCheckLock,
    kStandbyActive,
    kStandby,
    kSeconds,
    kInactivity97,
    kIdleActive,
    kIdlePlextor,
    kIdle,
    kIdleSeconds,
    kSpeedModePlextor,
    kRadioMode,
};

}  // namespace

TConfigDialogView::TConfigDialogView(TFormConfigDialog& f)
    : TWin32View(f, {TFormConfigDialog::kClientWidth, TFormConfigDialog::kClientHeight, fsDialog | fsStayOnTop,
                     "Comic Sans MS"})
{
    AddControls({
        {kTabControl, &f.TabControl, 8, 8, 361, 185, rsFlatTabs},
        {kTimerInterval, &f.TimerInterval, 316, 10, 39, 17, rsRight, kTabControl},
        {kDetectMediumChange, &f.BitCheckDetectMediumChange, 14, 36, 329, 17, 0, kTabControl},
        {kIndividual, &f.BitCheckIndividual, 15, 64, 226, 17, 0, kTabControl},
        {kGroupBoxDrive, &f.GroupBoxDrive, 8, 64, 345, 113, 0, kTabControl},
        {kSpeedBar, &f.SpeedBar, 8, 24, 201, 24, rsManualTicks, kGroupBoxDrive},
        {kSpeedLbl, &f.SpeedLbl, 8, 50, 201, 23, rsCenter, kGroupBoxDrive},
        {kStaticCDinserted, &f.StaticCDinserted, 14, 70, 195, 17, 0, kGroupBoxDrive},
        {kCheckLock, &f.BitCheckLock, 16, 88, 196, 17, 0, kGroupBoxDrive},
        {kStandbyActive, &f.BitStandbyActive, 224, 16, 111, 17, 0, kGroupBoxDrive},
        {kStandby, &f.Standby, 240, 32, 57, 27, 0, kGroupBoxDrive},
        {kSeconds, &f.Seconds, 300, 36, 24, 17, 0, kGroupBoxDrive},
        {kInactivity97, &f.Inactivity97, 232, 36, 80, 22, 0, kGroupBoxDrive},
        {kIdleActive, &f.BitIdleActive, 224, 64, 111, 17, 0, kGroupBoxDrive},
        {kIdlePlextor, &f.BitIdlePlextor, 224, 64, 111, 17, 0, kGroupBoxDrive},
        {kIdle, &f.Idle, 240, 80, 57, 27, 0, kGroupBoxDrive},
        {kIdleSeconds, &f.IdleSeconds, 300, 84, 26, 17, 0, kGroupBoxDrive},
        {kSpeedModePlextor, &f.BitSpeedModePlextor, 224, 88, 111, 17, 0, kGroupBoxDrive},
        {kRadioMode, &f.RadioMode, 16, 192, 345, 73},
    });
    OnInput(kTabControl, [&f] { f.TabControlChange(); });
    OnInput(kDetectMediumChange, [&f] { f.BitCheckDetectMediumChangeClick(); });
    OnInput(kIndividual, [&f] { f.BitCheckIndividualClick(); });
    OnInput(kSpeedBar, [&f] { f.SpeedBarChange(); });
    OnInput(kCheckLock, [&f] { f.BitCheckLockClick(); });
    OnInput(kStandbyActive, [&f] { f.BitStandbyActiveClick(); });
    OnInput(kStandby, [&f] { f.StandbyChange(); });
    OnInput(kInactivity97, [&f] { f.InactivityChange(); });
    OnInput(kIdleActive, [&f] { f.BitIdleActiveClick(); });
    OnInput(kIdlePlextor, [&f] { f.BitIdlePlextorClick(); });
    OnInput(kIdle, [&f] { f.IdleChange(); });
    OnInput(kSpeedModePlextor, [&f] { f.BitSpeedModePlextorClick(); });
    OnInput(kRadioMode, [&f] { f.RadioModeClick(); });
    OnEscape = [&f] {
        char key = 27;
        f.FormKeyPress(key);
    };
}
