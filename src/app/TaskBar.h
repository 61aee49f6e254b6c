#pragma once
// TFormMain: the splash window that shows the start-up progress, the chain of one-shot
// timers that loads the ASPI manager, examines each drive on a worker and applies the
// stored settings, and then the resident life in the tray: the tray icon, its menu and the
// lock timer. Unit TaskBar.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/MainLoop.h"
#include "platform/Thread.h"
#include "ui/Controls.h"
#include "ui/Form.h"

// A context menu: its items in order; an item captioned "-" is a separator line.
struct TPopupMenu {
    std::vector<TMenuItem*> Items;
    // Set by the view: opens the menu at a screen point and runs the chosen item.
    std::function<void(int x, int y)> OnPopup;
    int PopupCount = 0;

    void Popup(int x, int y)
    {
        ++PopupCount;
        if (OnPopup) OnPopup(x, y);
    }
};

class TFormMain;

// Runs the speed-step detection of one drive; frees itself when done.
class TThread_Init_Drives : public platform::Thread {
public:
    TThread_Init_Drives(int32_t driveIndex, bool forceProbing);

    int32_t DriveIndex;
    bool ForceProbing;

protected:
    void Execute() override;
};

class TFormMain : public TForm {
public:
    static constexpr int kWidth = 276;
    static constexpr int kHeight = 247;

    // configDialog: the settings dialog, made hidden beside the main window.
    explicit TFormMain(TForm& configDialog);
    ~TFormMain() override;

    // Reads the options from the arguments (1..n), sets the texts and runs the ASPI
    // configuration check; then the start-up chain begins.
    void FormCreate(const std::vector<std::string>& arguments);

    void Init_HostadaptorTimer();
    void Init_DrivesTimer();
    void Init_StartProgramTimer();
    void LockTimerTimer();

    // The tray icon's callback; mouseMessage is the low word of its second parameter.
    void TrayMessage(uint32_t mouseMessage);

    void AboutClick();
    void ConfigClick();
    void ConfigTeacClick();
    void StartSpeedEvaluationClick();
    void DebugInfoClick();
    void StartAgainClick();
    void EndTopicClick();

    bool Starting() const { return starting_; }
    bool WindowOpen() const { return windowOpen_; }

    TLabel LabelVersion;
    TLabel Kalmor;
    TLabel Author;
    TLabel Copyright;
    TLabel ProgressHint;
    TPanel ProgressPanel;
    TProgressBar ProgressBar;
    TLabel Homepage;
    TLabel HomepageURL;
    // The splash shows the hourglass while the drives are examined.
    bool HourglassCursor = false;

    TMenuItem About;
    TMenuItem Config;
    TMenuItem ConfigTeac;
    TMenuItem StartSpeedEvaluation;
    TMenuItem DebugInfo;
    TMenuItem StartAgain;
    TMenuItem EndTopic;
    TMenuItem N1{"-"}, N2{"-"}, N3{"-"}, N4{"-"};
    TPopupMenu PopupMenu1;

    platform::Timer Init_Hostadaptor{50};
    platform::Timer Init_Drives{50};
    platform::Timer Init_StartProgram{50};
    platform::Timer LockTimer{5000};

protected:
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void ThreadTerminated();
    // Shows a window of the menu modally: window open meanwhile, LockTimer paused.
    void RunMenuWindow(const std::function<void()>& show);
    void PlaceConfigDialog();
    void EndProgram();

    TForm& configDialog_;
    bool starting_ = false;
    bool closeRequested_ = false;
    bool settingsDialogOpen_ = false;
    bool windowOpen_ = false;
    bool detectOption_ = false;
    bool quitOption_ = false;
    bool bbOption_ = false;
    bool threadRunning_ = false;
    int32_t currentDrive_ = 0;
    TThread_Init_Drives* thread_ = nullptr;
    uint32_t threadStart_ = 0;
};
