#pragma once
// The debug-information window: the drive report in a rich-text box, copied to the clipboard or
// saved as a rich-text file for the maker.
//
// The report runs for minutes (mode pages of every target, step lists, two zone detections,
// the sweeps), so it is built on a worker thread and the window stays responsive: the worker
// writes into a list of its own and posts every change to the window's lines in order. While
// it runs the report owns every drive: DebugReportRunning() tells the main window's lock
// timer to leave them alone, the window keeps copy and save for the finished report, and a
// close waits for the report's end (it puts back the speeds and tables it changed).
#include <functional>
#include <memory>
#include <string>

#include "platform/MainLoop.h"
#include "platform/Thread.h"
#include "ui/Controls.h"
#include "ui/Form.h"

class TRegViewForm : public TForm {
public:
    static constexpr int kClientWidth = 632;
    static constexpr int kClientHeight = 453;

    // Runs FormCreate.
    TRegViewForm();
    // Waits for a report still being built: it uses the drives the program is about to free.
    ~TRegViewForm() override;

    void FormCreate();
    // The report gets the SET CD SPEED sweeps (option "-bb").
    void EnableSweeps();
    // Once per showing: starts the report.
    void TimerTimer();
    void ToClipboardClick();
    void SaveClick();
    void ButtonCloseClick();

    bool ReportRunning() const { return reportRunning_; }

    TMemo Memo;
    TButton ToClipboard;
    TButton Save;
    TButton ButtonClose;
    platform::Timer Timer{10};

    // The rich-text box's own commands, set by the view: copy the whole text (plain and rich
    // text), and write it as a rich-text document (false when the file cannot be written).
    std::function<void()> CopyAll;
    std::function<bool(const std::string& path)> SaveRichText;

protected:
    void FormShow() override;
    bool FormCloseQuery() override;

private:
    void ReportDone();
    void EnableButtons(bool enabled);

    bool Sweeps = false;
    bool reportRunning_ = false;
    // A close asked for while the report runs; it happens at the report's end.
    bool closeAfterReport_ = false;
    std::unique_ptr<platform::Thread> thread_;
    // Lets lines posted by the worker that arrive after the window has gone do nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// "Kalmor 1.02.rtf": the name the save dialog proposes ("/" in it would be a folder).
std::string ProposedReportFileName();

// A report is being built: its worker owns the drives.
bool DebugReportRunning();
