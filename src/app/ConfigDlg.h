#pragma once
// TFormConfigDialog: the settings dialog, one tab per drive. Every change goes to the drive
// at once and then to the registry; while the dialog is open its own timer keeps the view
// in step with the drives and does the monitoring timer's work (lock and medium checks).
// Unit ConfigDlg.
#include <cstdint>
#include <string>

#include "platform/MainLoop.h"
#include "ui/Controls.h"
#include "ui/Form.h"

class TFormConfigDialog : public TForm {
public:
    static constexpr int kClientWidth = 378;
    static constexpr int kClientHeight = 277;
    // Refresh interval bounds of TimerUpdate, in ms.
    static constexpr uint32_t kMinInterval = 300;
    static constexpr uint32_t kMaxInterval = 3000;

    TFormConfigDialog();

    // Controls, by their names in the form. The hidden alternatives of the lock box and the
    // inactivity combo box are not built: the form never shows them.
    TTabControl TabControl;
    TLabel TimerInterval;
    TCheckBox BitCheckDetectMediumChange;
    TCheckBox BitCheckIndividual;
    TGroupBox GroupBoxDrive;
    TTrackBar SpeedBar;
    TLabel SpeedLbl;
    TLabel StaticCDinserted;
    TCheckBox BitCheckLock;
    TCheckBox BitStandbyActive;
    TSpinEdit Standby;
    TLabel Seconds;
    TComboBox Inactivity97;
    TCheckBox BitIdleActive;
    TCheckBox BitIdlePlextor;
    TSpinEdit Idle;
    TLabel IdleSeconds;
    TCheckBox BitSpeedModePlextor;
    TRadioGroup RadioMode;
    platform::Timer TimerUpdate;

    // Handlers. The view sets the control's new state (a check box already toggled, the new
    // position, value or item) and then calls the handler.
    void TabControlChange();
    void TimerUpdateTimer();
    void SpeedBarChange();
    void BitCheckLockClick();
    void BitStandbyActiveClick();
    void StandbyChange();
    void StandbyClick();
    void InactivityChange();
    void BitIdleActiveClick();
    void IdleChange();
    void IdleClick();
    void BitIdlePlextorClick();
    void BitSpeedModePlextorClick();
    void BitCheckDetectMediumChangeClick();
    void BitCheckIndividualClick();
    void RadioModeClick();
    // Key preview: every character typed in the dialog; Esc (27) closes it.
    void FormKeyPress(char& key);
    // Writes the drive's settings to the registry: under its disc key when the settings
    // are per disc, else under "Default" (deleting a disc key the user gave up).
    void UpdateSettings(int drive);

    // The next refresh interval: moves a few percent per tick toward 20 times the cost of
    // one refresh (elapsed ms), within kMinInterval..kMaxInterval.
    static uint32_t AdaptInterval(uint32_t interval, uint32_t elapsed);

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void UpdateDialog();
    // Sets drv from the tab index; false when that is no drive.
    bool SelectDrive();
    void ShowSpeed(int32_t speed, const std::string& zone);
    void ShowTimers();
    void ShowPlextorFeatures();

    bool Updating = false;
    int32_t LastStandbyShown = -1;
    int32_t LastInactivityShown = -1;
};
