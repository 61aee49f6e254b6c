// The main window's creation and the start-up chain.
#include "app/TaskBar.h"

#include <algorithm>

#include "app/MenuWindows.h"
#include "app/Version.h"
#include "diag/AspiConfig.h"
#include "platform/Application.h"
#include "platform/MessageBox.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "platform/Time.h"
#include "settings/CommandLine.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "transport/AspiManager.h"

namespace {
constexpr uint32_t kSlowDetectionMs = 8000;
}  // namespace

TThread_Init_Drives::TThread_Init_Drives(int32_t driveIndex, bool forceProbing)
    : DriveIndex(driveIndex), ForceProbing(forceProbing)
{
    FreeOnTerminate = true;
}

void TThread_Init_Drives::Execute() { DetectSpeeds(DriveIndex, ForceProbing); }

TFormMain::TFormMain(TForm& configDialog) : TForm(kWidth, kHeight), configDialog_(configDialog)
{
    ConfigTeac.Caption = "    Teac 532";
    PopupMenu1.Items = {&About, &N1, &Config, &ConfigTeac, &N2, &StartSpeedEvaluation, &DebugInfo, &N3, &StartAgain,
                        &N4, &EndTopic};
    Init_Hostadaptor.OnTimer = [this] { Init_HostadaptorTimer(); };
    Init_Drives.OnTimer = [this] { Init_DrivesTimer(); };
    Init_StartProgram.OnTimer = [this] { Init_StartProgramTimer(); };
    LockTimer.OnTimer = [this] { LockTimerTimer(); };
}

TFormMain::~TFormMain()
{
    // Its end handler would find this form gone; deleting waits for the detection to end.
    if (threadRunning_) delete thread_;
}

void TFormMain::FormCreate(const std::vector<std::string>& arguments)
{
    const CommandLineOptions options = ScanCommandLine(arguments);
    quitOption_ = options.quit;
    detectOption_ = options.detect;
    bbOption_ = options.bb;

    starting_ = true;
    HourglassCursor = true;
    Left = (platform::ScreenWidth() - Width) / 2;
    Top = (platform::ScreenHeight() - Height) / 2;

    Caption = lg_KALMOR;
    Kalmor.Caption = lg_KALMOR;
    Kalmor.FontColor = TColor::Red;
    Author.Caption = lg_AUTHOR;
    Copyright.Caption = lg_COPYRIGHT;
    ProgressHint.Caption = lg_SEARCHING;
    About.Caption = lg_ABOUT;
    Config.Caption = lg_CONFIG;
    StartSpeedEvaluation.Caption = lg_SPEED_EVALUATION;
    StartAgain.Caption = lg_START_AGAIN;
    DebugInfo.Caption = lg_DEBUG_INFO;
    EndTopic.Caption = lg_EXIT;
    LabelVersion.Caption = lg_VERSION + kProgramVersion;
    Homepage.Caption = lg_HOMEPAGE;
    HomepageURL.Caption = kHomepageUrl;
    HomepageURL.FontColor = TColor::Highlight;
    Homepage.Visible = false;
    HomepageURL.Visible = false;

    RemoveMisplacedKeys();

    if (CheckAspiConfiguration()) {
        platform::ShowMessage(platform::MessageKind::Information, lg_RESTART_WINDOWS, lg_KALMOR);
        EndProgram();
        return;
    }
    Init_Hostadaptor.SetEnabled(true);
}

void TFormMain::Init_HostadaptorTimer()
{
    Init_Hostadaptor.SetEnabled(false);
    Homepage.Visible = false;
    HomepageURL.Visible = false;
    ProgressPanel.Visible = true;
    ProgressHint.Visible = true;
    ProgressHint.Caption = lg_INIT_ASPI;
    ProgressBar.Position = 0;
    Show();

    if (!InitASPI32()) {
        Hide();
        platform::ShowMessage(platform::MessageKind::Error, lg_ASPI_FAILED + ASPIStatusText(), lg_KALMOR);
        EndProgram();
        return;
    }
    if (HostAdaptorCount() == 0) {
        Hide();
        platform::ShowMessage(platform::MessageKind::Error, lg_NO_HOSTADAPTER, lg_KALMOR);
        EndProgram();
        return;
    }
    BuildDriveList();
    currentDrive_ = 0;
    Init_Drives.SetEnabled(true);
}

void TFormMain::Init_DrivesTimer()
{
    if (currentDrive_ < numDrives) {
        if (threadRunning_) {
            ProgressBar.Position = std::min<int>(Drives[currentDrive_].CDROM->DetectionProgress, ProgressBar.Max);
            Changed();
            return;
        }
        ProgressHint.Caption = lg_EXAMINE + Drives[currentDrive_].DriveName;
        Changed();
        threadStart_ = platform::TickCount();
        threadRunning_ = true;
        thread_ = new TThread_Init_Drives(currentDrive_, detectOption_);
        thread_->SetPriority(platform::ThreadPriority::Normal);
        thread_->OnTerminate = [this] { ThreadTerminated(); };
        thread_->Start();
        return;
    }
    ProgressPanel.Visible = false;
    ProgressHint.Visible = false;
    Homepage.Visible = true;
    HomepageURL.Visible = true;
    Changed();
    Init_Drives.SetEnabled(false);
    Init_StartProgram.SetEnabled(true);
}

void TFormMain::ThreadTerminated()
{
    threadStart_ = platform::TickCount() - threadStart_;
    if (threadStart_ > kSlowDetectionMs)
        platform::ShowMessage(platform::MessageKind::Information, lg_DETECTION_SLOW, lg_KALMOR);
    ReadDetectMediumChange(currentDrive_);
    ++currentDrive_;
    thread_ = nullptr;
    threadRunning_ = false;
}

void TFormMain::Init_StartProgramTimer()
{
    Init_StartProgram.SetEnabled(false);
    ConfigTeac.Visible = TeacEepromDrive >= 0 && TeacEepromDrive < numDrives;

    for (int drive = 0; drive < numDrives; ++drive) {
        ProgressHint.Caption = lg_INITIALIZE + Drives[drive].DriveName;
        Changed();
        if (ProfileExists(drive, "Default")) LoadSettings(drive, "Default");
    }
    Hide();
    HourglassCursor = false;

    if (StartedByWindows && StartMode == 1) {
        FreeDriveList();
        EndProgram();
        return;
    }
    platform::TrayIcon(platform::TrayAction::Add, lg_KALMOR, platform::TrayIconKind::Normal);
    LockTimer.SetEnabled(true);
    starting_ = false;

    if (!StartedByWindows && numDrives > 0) ConfigClick();

    if (quitOption_) {
        FreeDriveList();
        platform::TrayIcon(platform::TrayAction::Delete, lg_KALMOR, platform::TrayIconKind::Normal);
        EndProgram();
    }
}

void TFormMain::EndProgram()
{
    LockTimer.SetEnabled(false);
    platform::TerminateApplication();
}
