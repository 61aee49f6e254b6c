// The settings dialog's change handlers. A change reaches the drive first and the registry
// second; lock, medium detection and per-disc settings send nothing to the drive.
#include "app/ConfigDlg.h"
#include "platform/Assert.h"
#include "platform/MessageBox.h"
#include "settings/Autostart.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "settings/StoreKeys.h"

namespace {

constexpr const char* kUnit = "ConfigDlg";
constexpr int32_t kInactivityCodes = 16;

// The text a locked speed is shown with: the step's zone text, or the factor.
std::string LockText(int32_t speed, const std::string& zone)
{
    return zone.empty() ? std::to_string(speed) + "x" : zone;
}

// A Plextor switch goes to the drive first; the record follows only when the drive takes it
// (a refused switch is set back from the drive by the next refresh). True when it changed.
bool SwitchPlextorFeature(TCDROM& drive, bool (TCDROM::*set)(bool), bool wanted, bool& state)
{
    if (wanted == state || !(drive.*set)(wanted)) return false;
    state = wanted;
    return true;
}

void ShowInformation(const std::string& text) { platform::ShowMessage(platform::MessageKind::Information, text); }

}  // namespace

void TFormConfigDialog::SpeedBarChange()
{
    if (Updating || !SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    d.CDROM->SetCDSpeed(SpeedBar.Position);
    UpdateDialog();  // shows the speed the drive took
    if (d.LockSpeed != -1 && d.Speed != -1) {
        d.LockSpeed = d.Speed;
        d.LockSpeedStr = LockText(d.Speed, d.CDROM->ZoneDescription);
    }
    UpdateSettings(drv);
}

void TFormConfigDialog::BitCheckLockClick()
{
    if (Updating || !SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    if (BitCheckLock.Checked) {
        // An unreadable speed (-1) leaves the drive unlocked.
        d.LockSpeed = d.CDROM->CurrentSpeedStep();
        d.LockSpeedStr = d.LockSpeed == -1 ? "" : LockText(d.LockSpeed, d.CDROM->ZoneDescription);
    } else {
        d.LockSpeed = -1;
        d.LockSpeedStr.clear();
    }
    UpdateSettings(drv);
}

void TFormConfigDialog::StandbyChange()
{
    if (Updating || !SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    if (!d.UseStandbyTimer) {
        LastStandbyShown = -1;  // the next refresh shows the drive's value again
        ShowInformation(lg_STANDBY_CHECK_1 + BitStandbyActive.Caption + lg_STANDBY_CHECK_2);
        return;
    }
    d.StandBy = Standby.Value;
    d.CDROM->TestUnitReady();
    d.CDROM->SetStandby(d.StandBy);
    d.CDROM->TestUnitReady();
    UpdateSettings(drv);
}

void TFormConfigDialog::StandbyClick() { StandbyChange(); }

void TFormConfigDialog::InactivityChange()
{
    if (Updating || !SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    if (!d.UseInactivity) {
        LastInactivityShown = -1;
        ShowInformation(lg_STANDBY_CHECK_1 + BitStandbyActive.Caption + lg_STANDBY_CHECK_2);
        return;
    }
    d.Inactivity = Inactivity97.ItemIndex;
    d.CDROM->TestUnitReady();
    // A combo box without a selection gives -1, which is no code.
    if (d.Inactivity >= 0 && d.Inactivity < kInactivityCodes) d.CDROM->SetInactivity(d.Inactivity);
    d.CDROM->TestUnitReady();
    UpdateSettings(drv);
}

void TFormConfigDialog::IdleChange()
{
    if (Updating || !SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    if (!d.UseIdleTimer) {
        ShowInformation(lg_IDLE_CHECK_1 + BitIdleActive.Caption + lg_IDLE_CHECK_2);
        return;
    }
    d.Idle = Idle.Value;
    d.CDROM->TestUnitReady();
    d.CDROM->SetIdle(d.Idle);
    d.CDROM->TestUnitReady();
    UpdateSettings(drv);
}

void TFormConfigDialog::IdleClick() { IdleChange(); }

void TFormConfigDialog::BitStandbyActiveClick()
{
    if (!SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    KALMOR_ASSERT(!(d.HasStandbyTimer && d.HasInactivity), kUnit, "");
    const bool on = BitStandbyActive.Checked;
    // Switching a timer off puts the drive's own default back; switching it on sends nothing.
    if (d.HasStandbyTimer) {
        if (d.UseStandbyTimer && !on) {
            d.StandBy = d.CDROM->GetStandby(true);
            if (d.StandBy != -1) d.CDROM->SetStandby(d.StandBy);
        }
        d.UseStandbyTimer = on;
    } else if (d.HasInactivity) {
        if (d.UseInactivity && !on) {
            d.Inactivity = d.CDROM->GetInactivity(true);
            if (d.Inactivity != -1) d.CDROM->SetInactivity(d.Inactivity);
        }
        d.UseInactivity = on;
    }
    UpdateSettings(drv);
}

void TFormConfigDialog::BitIdleActiveClick()
{
    if (Updating || !SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    KALMOR_ASSERT(d.HasIdleTimer, kUnit, "IdleActiveClick: Drives[drv].UseIdleTimer");
    if (d.UseIdleTimer && !BitIdleActive.Checked) {
        d.Idle = d.CDROM->GetIdle(true);
        if (d.Idle != -1) d.CDROM->SetIdle(d.Idle);
    }
    d.UseIdleTimer = BitIdleActive.Checked;
    UpdateSettings(drv);
}

void TFormConfigDialog::BitIdlePlextorClick()
{
    if (!SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    if (SwitchPlextorFeature(*d.CDROM, &TCDROM::SetPlextorIdle, BitIdlePlextor.Checked, d.PlextorIdle)) {
        UpdateSettings(drv);
    }
}

void TFormConfigDialog::BitSpeedModePlextorClick()
{
    if (!SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    if (SwitchPlextorFeature(*d.CDROM, &TCDROM::SetPlextorSpeedMode, BitSpeedModePlextor.Checked, d.PlextorGameMode)) {
        UpdateSettings(drv);
    }
}

void TFormConfigDialog::BitCheckDetectMediumChangeClick()
{
    if (!SelectDrive()) return;
    TDriveSettings& d = Drives[drv];
    d.DetectMediumChange = BitCheckDetectMediumChange.Checked;
    WriteDetectMediumChange(drv);
    if (!d.DetectMediumChange) {
        // The next tick applies the "Default" settings.
        d.MediumChanged = true;
        d.CDInserted = false;
        d.DiscID = regnames::kDefaultProfile;
        d.AudioCD = false;
    }
}

void TFormConfigDialog::BitCheckIndividualClick()
{
    if (!SelectDrive()) return;
    Drives[drv].Individual = BitCheckIndividual.Checked;
    UpdateSettings(drv);
}

void TFormConfigDialog::UpdateSettings(int drive)
{
    KALMOR_ASSERT(drive >= 0 && drive < numDrives, kUnit, "UpdateSettings: drv in [0..numDrives-1]");
    TDriveSettings& d = Drives[drive];
    WriteDetectMediumChange(drive);
    if (d.Individual) {
        SaveSettings(drive, d.DiscID);
    } else if (d.DiscID != regnames::kDefaultProfile && ProfileExists(drive, d.DiscID)) {
        // Per-disc settings switched off: the disc's settings go, the drive's defaults return.
        DeleteProfile(drive, d.DiscID);
        LoadSettings(drive, regnames::kDefaultProfile);
    } else {
        SaveSettings(drive, regnames::kDefaultProfile);
    }
}

void TFormConfigDialog::RadioModeClick()
{
    if (Updating) return;
    if (RadioMode.ItemIndex >= 0 && RadioMode.ItemIndex <= 2) StartMode = uint8_t(RadioMode.ItemIndex);
    if (!WriteStartMode(StartMode)) platform::ShowMessage(platform::MessageKind::Error, lg_REGISTRY_FAILED);
    if (!SetAutostart(StartMode < 2)) platform::ShowMessage(platform::MessageKind::Error, lg_AUTOSTART_FAILED);
    StartMode = ReadStartMode();
    Updating = true;
    RadioMode.ItemIndex = StartMode <= 2 ? StartMode : 2;
    Updating = false;
}
