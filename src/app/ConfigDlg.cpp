// The settings dialog: showing it, the drive tabs, the refresh and its timer.
#include "app/ConfigDlg.h"

#include <algorithm>
#include <cmath>

#include "app/Version.h"
#include "platform/Time.h"
#include "settings/Language.h"
#include "settings/SpeedLock.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

namespace {

constexpr int kInactivityCodes = 16;

// Stored steps are read up to the first gap; no drive has more than a speed table holds.
constexpr int kMaxStoredSteps = TSpeedZoneInfo::kCapacity;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// A spin edit's bounds; equal bounds mean no limit, as the form designer's spin edit has it.
int32_t SpinValue(const TSpinEdit& edit, int32_t value)
{
    if (edit.MinValue == edit.MaxValue) return value;
    if (value < edit.MinValue) return edit.MinValue;
    if (value > edit.MaxValue) return edit.MaxValue;
    return value;
}

// Check box captions keep a blank on either side of the text.
std::string Padded(const std::string& text)
{
    std::string padded = " ";
    padded += text;
    padded += ' ';
    return padded;
}

// Captions are written only when their text changes, so the view repaints nothing else.
void SetCaption(TControl& control, const std::string& text)
{
    if (control.Caption != text) control.Caption = text;
}

}  // namespace

TFormConfigDialog::TFormConfigDialog() : TForm(kClientWidth, kClientHeight), TimerUpdate(500)
{
    TimerInterval.Caption = "xxx ms";
    TimerInterval.Visible = false;
    StaticCDinserted.Visible = false;
    Seconds.Caption = "Sek";
    IdleSeconds.Caption = "Sek.";
    SpeedBar.Min = 1;
    SpeedBar.Max = 1;
    SpeedBar.LineSize = 2;
    SpeedBar.ThumbLength = 16;
    TimerUpdate.OnTimer = [this] { TimerUpdateTimer(); };
}

uint32_t TFormConfigDialog::AdaptInterval(uint32_t interval, uint32_t elapsed)
{
    // Each step keeps the 32-bit float the interval was computed in.
    float x = float(interval);
    const double target = double(elapsed) * 20.0;
    for (uint32_t i = 0; i < interval / 100 + 1; ++i) x = float(0.98 * x + 0.02 * target);
    const double result = std::floor(double(x));
    if (result < kMinInterval) return kMinInterval;
    if (result > kMaxInterval) return kMaxInterval;
    return uint32_t(result);
}

bool TFormConfigDialog::SelectDrive()
{
    drv = TabControl.TabIndex;
    return drv >= 0 && drv < numDrives;
}

void TFormConfigDialog::FormShow()
{
    Caption = "  " + lg_AUTHOR + " " + lg_KALMOR + " " + kProgramVersion;
    BitCheckLock.Caption = lg_CHECKLOCK;
    BitCheckLock.Hint = lg_CHECKLOCK_HINT;
    BitCheckLock.ShowHint = true;
    BitCheckIndividual.Caption = lg_CHECKINDIVIDUAL;
    GroupBoxDrive.Caption = lg_SETTINGSGROUP;
    RadioMode.Caption = lg_KALMOR + "..";
    RadioMode.Items = {lg_MODE_TRAY, lg_MODE_TERMINATE, lg_MODE_MANUAL};
    // Every control that carries a hint shows it.
    Inactivity97.Hint = lg_INACTIVITY_HINT;
    Inactivity97.ShowHint = true;
    BitStandbyActive.Caption = " Standby Timer ";
    Standby.Hint = lg_STANDBY_HINT;
    Standby.ShowHint = true;
    BitIdleActive.Caption = " Idle Timer ";
    Idle.Hint = lg_IDLE_HINT;
    Idle.ShowHint = true;
    BitIdlePlextor.Caption = Padded(lg_IDLE_PLEXTOR);
    BitIdlePlextor.Hint = lg_IDLE_PLEXTOR_HINT;
    BitIdlePlextor.ShowHint = true;
    BitSpeedModePlextor.Caption = Padded(lg_GAMEMODE);
    BitSpeedModePlextor.Hint = lg_GAMEMODE_HINT;
    BitSpeedModePlextor.ShowHint = true;
    TimerInterval.Visible = DebugMode;

    // A tab control selects its first tab when the first one is added.
    TabControl.Tabs.clear();
    for (int i = 0; i < numDrives; ++i) TabControl.Tabs.push_back(Drives[i].DriveName);
    TabControl.TabIndex = numDrives > 0 ? 0 : -1;

    Updating = true;
    Inactivity97.Items.clear();
    for (int code = 0; code < kInactivityCodes; ++code) Inactivity97.Items.push_back(TimerValueName(code));
    Inactivity97.Visible = true;
    RadioMode.ItemIndex = StartMode <= 2 ? StartMode : 2;
    Updating = false;

    const int32_t tab = ReadTabIndex();
    if (tab >= 0 && tab < numDrives) TabControl.TabIndex = tab;

    TabControlChange();
    UpdateDialog();
    TimerUpdate.SetInterval(kMinInterval);
    TimerUpdate.SetEnabled(true);
}

void TFormConfigDialog::TabControlChange()
{
    if (SelectDrive()) {
        TDriveSettings& d = Drives[drv];
        Updating = true;
        SpeedBar.Ticks.clear();
        SpeedBar.Min = 1;
        SpeedBar.Max = 1;
        const int32_t first = DetectedSpeed(drv, 1);
        if (first > 0) SpeedBar.Max = SpeedBar.Min = first;
        for (int n = 1; n <= kMaxStoredSteps; ++n) {
            const int32_t step = n == 1 ? first : DetectedSpeed(drv, n);
            if (step <= 0) break;
            if (step < SpeedBar.Min) SpeedBar.Min = step;
            SpeedBar.Ticks.push_back(step);
        }
        if (SpeedBar.Min == SpeedBar.Max) {
            d.CDROM->ForgetSpeedInfo();
            const int32_t maximum = d.CDROM->MaxSpeedFactor();
            if (maximum > SpeedBar.Max) SpeedBar.Max = maximum;
        }
        SpeedBar.PageSize = (SpeedBar.Max - SpeedBar.Min) / 2;
        Updating = false;

        BitCheckDetectMediumChange.Caption = Padded(MediaChangeCaption(d.DriveName));

        const bool inactivityChangeable = d.HasInactivity && !d.InactivityFixed;
        Inactivity97.Visible = d.HasInactivity;
        Inactivity97.Enabled = inactivityChangeable;
        LastInactivityShown = -1;
        Standby.Visible = Seconds.Visible = Standby.Enabled = d.HasStandbyTimer;
        // The same no-limit rule for both: a limit the drive did not report (-1) must not
        // become a maximum below the minimum.
        if (d.HasStandbyTimer) Standby.MaxValue = std::max(Standby.MinValue, d.StandbyMax);
        LastStandbyShown = -1;
        BitStandbyActive.Enabled = inactivityChangeable || d.HasStandbyTimer;

        Idle.Visible = Idle.Enabled = d.HasIdleTimer;
        IdleSeconds.Visible = IdleSeconds.Enabled = d.HasIdleTimer;
        BitIdleActive.Visible = BitIdleActive.Enabled = d.HasIdleTimer;
        if (d.HasIdleTimer) Idle.MaxValue = std::max(Idle.MinValue, d.IdleMax);
        BitIdleActive.Checked = d.UseIdleTimer;
        BitIdlePlextor.Visible = BitIdlePlextor.Enabled = d.HasPlextorIdle;
        BitSpeedModePlextor.Visible = BitSpeedModePlextor.Enabled = d.HasPlextorGameMode;
    }
    UpdateDialog();
}

void TFormConfigDialog::UpdateDialog()
{
    if (!SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    d.Speed = d.CDROM->CurrentSpeedStep();
    ShowSpeed(d.Speed, d.CDROM->ZoneDescription);

    BitCheckLock.Enabled = SpeedBar.Enabled;
    Updating = true;
    BitCheckLock.Checked = d.LockSpeed != -1;
    Updating = false;
    if (BitCheckLock.Checked) {
        SetCaption(BitCheckLock, Padded(LockedToText(d.LockSpeedStr)));
        BitCheckLock.FontColor = TColor::Highlight;
    } else {
        SetCaption(BitCheckLock, Padded(lg_CHECKLOCK));
        BitCheckLock.FontColor = TColor::WindowText;
    }

    BitCheckDetectMediumChange.Checked = d.DetectMediumChange;
    BitCheckIndividual.Visible = d.DetectMediumChange;
    BitCheckIndividual.Enabled = d.DetectMediumChange && d.CDInserted;
    SetCaption(GroupBoxDrive, d.DetectMediumChange ? "" : lg_SETTINGSGROUP);
    BitCheckIndividual.Checked = d.CDInserted && d.DiscID != regnames::kDefaultProfile && ProfileExists(drv, d.DiscID);

    ShowTimers();
    ShowPlextorFeatures();

    if (DebugMode) {
        SetCaption(StaticCDinserted, d.DiscID);
        StaticCDinserted.Visible = d.CDInserted;
    }
}

void TFormConfigDialog::ShowSpeed(int32_t speed, const std::string& zone)
{
    Updating = true;
    SpeedBar.Enabled = speed > 0;
    if (!SpeedBar.Enabled) {
        SetCaption(SpeedLbl, lg_CANNOT_SET_SPEED);
    } else {
        if (speed > SpeedBar.Max) SpeedBar.Max = speed;
        if (speed < SpeedBar.Min) SpeedBar.Min = speed;
        SpeedBar.Position = speed;
        const std::string text = zone.empty() ? std::to_string(speed) + "X" : zone;
        SetCaption(SpeedLbl, lg_SPEED + ": " + text);
        std::string hint = SpeedLbl.Caption;
        if (Contains(text, "PCAV")) {
            hint = lg_PCAV_HINT;
        } else if (Contains(text, "CAV")) {
            hint = lg_CAV_HINT;
        }
        if (Contains(text, "CLV")) hint = lg_CLV_HINT;
        if (hint != SpeedLbl.Hint) {
            SpeedLbl.Hint = SpeedBar.Hint = hint;
            SpeedLbl.ShowHint = SpeedBar.ShowHint = !hint.empty();
        }
    }
    Updating = false;
}

void TFormConfigDialog::ShowTimers()
{
    TDriveSettings& d = Drives[drv];
    TCDROM& cd = *d.CDROM;
    if (d.HasIdleTimer) {
        d.Idle = cd.GetIdle(false);
        Updating = true;
        Idle.Value = SpinValue(Idle, d.Idle);
        BitIdleActive.Checked = d.UseIdleTimer;
        Updating = false;
    }
    if (d.HasStandbyTimer) {
        d.StandBy = cd.GetStandby(false);
        Updating = true;
        BitStandbyActive.Checked = d.UseStandbyTimer;
        if (d.StandBy != LastStandbyShown) {
            Standby.Value = SpinValue(Standby, d.StandBy);
            LastStandbyShown = Standby.Value;
        }
        Updating = false;
    }
    if (d.HasInactivity) {
        d.Inactivity = cd.GetInactivity(false);
        Updating = true;
        BitStandbyActive.Checked = d.UseInactivity;
        if (d.Inactivity >= 0 && d.Inactivity < int32_t(Inactivity97.Items.size()) &&
            d.Inactivity != LastInactivityShown) {
            Inactivity97.ItemIndex = d.Inactivity;
            LastInactivityShown = Inactivity97.ItemIndex;
        }
        Updating = false;
    }
}

void TFormConfigDialog::ShowPlextorFeatures()
{
    TDriveSettings& d = Drives[drv];
    bool on = false;
    if (d.HasPlextorIdle) {
        if (d.CDROM->GetPlextorIdle(on)) d.PlextorIdle = on;
        BitIdlePlextor.Checked = d.PlextorIdle;
    }
    if (d.HasPlextorGameMode) {
        if (d.CDROM->GetPlextorSpeedMode(on)) d.PlextorGameMode = on;
        BitSpeedModePlextor.Checked = d.PlextorGameMode;
        BitSpeedModePlextor.FontColor = d.PlextorGameMode ? TColor::Red : TColor::WindowText;
        // With an audio CD in the drive the same switch is offered as Turbo-DAE.
        SetCaption(BitSpeedModePlextor, Padded(d.AudioCD ? lg_TURBODAE : lg_GAMEMODE));
        BitSpeedModePlextor.Hint = d.AudioCD ? lg_TURBODAE_HINT : lg_GAMEMODE_HINT;
    }
}

void TFormConfigDialog::TimerUpdateTimer()
{
    const uint32_t start = platform::TickCount();
    UpdateDialog();
    for (int i = 0; i < numDrives; ++i) ReapplyLockSpeed(i);
    for (int i = 0; i < numDrives; ++i) {
        if (Drives[i].DetectMediumChange) MediumCheck(i);
    }
    const uint32_t elapsed = platform::TickCount() - start;
    TimerUpdate.SetInterval(AdaptInterval(TimerUpdate.Interval(), elapsed));
    if (DebugMode) SetCaption(TimerInterval, std::to_string(TimerUpdate.Interval()) + " ms");
    for (int i = 0; i < numDrives; ++i) LoadProfileAfterMediumChange(i);
    Changed();
}

void TFormConfigDialog::FormKeyPress(char& key)
{
    if (key == 27) CloseWith(mrCancel);
}

void TFormConfigDialog::FormClose()
{
    TimerUpdate.SetEnabled(false);
    if (TabControl.TabIndex >= 0 && TabControl.TabIndex < numDrives) WriteTabIndex(TabControl.TabIndex);
}
