#include "diag/RegViewForm.h"

#include <algorithm>

#include "diag/DriveReport.h"
#include "diag/LineList.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "settings/Language.h"

namespace {

// The program version the window's caption and file name carry (the report's own lines name it too).
constexpr const char* kVersion = "1.02";
constexpr const char* kRichTextExt = "rtf";
constexpr const char* kRichTextFilter = "Rich-Text  (*.rtf)|*.rtf";

// Reports being built; only the main thread counts.
int runningReports = 0;

// The report's lines on the worker: read back from its own copy, every change posted to the
// window's memo, where the changes arrive in the order they were made.
class TPostedLines : public TLineList {
public:
    using Change = std::function<void(std::vector<std::string>& lines)>;
    explicit TPostedLines(std::function<void(Change)> post) : post_(std::move(post)) {}

    void Append(const std::string& line) override
    {
        lines_.Append(line);
        post_([line](std::vector<std::string>& lines) { lines.push_back(line); });
    }
    int Count() const override { return lines_.Count(); }
    std::string Line(int i) const override { return lines_.Line(i); }
    void Replace(int i, const std::string& line) override
    {
        lines_.Replace(i, line);
        post_([i, line](std::vector<std::string>& lines) { lines[size_t(i)] = line; });
    }
    void Delete(int i) override
    {
        lines_.Delete(i);
        post_([i](std::vector<std::string>& lines) { lines.erase(lines.begin() + i); });
    }

private:
    TStringLineList lines_;
    std::function<void(Change)> post_;
};

class TReportThread : public platform::Thread {
public:
    TReportThread(bool sweeps, std::function<void(TPostedLines::Change)> post) : sweeps_(sweeps), lines_(std::move(post)) {}
    ~TReportThread() override { WaitFor(); }

protected:
    void Execute() override { BuildDebugReport(lines_, sweeps_); }

private:
    bool sweeps_;
    TPostedLines lines_;
};

}  // namespace

std::string ProposedReportFileName()
{
    std::string name = lg_KALMOR + " " + kVersion;
    std::replace(name.begin(), name.end(), '/', '-');
    return name + "." + kRichTextExt;
}

bool DebugReportRunning() { return runningReports > 0; }

TRegViewForm::TRegViewForm() : TForm(kClientWidth, kClientHeight)
{
    Timer.SetEnabled(false);
    Timer.OnTimer = [this] { TimerTimer(); };
    FormCreate();
}

TRegViewForm::~TRegViewForm()
{
    *alive_ = false;
    thread_.reset();
    if (reportRunning_) --runningReports;
}

void TRegViewForm::FormCreate() { Sweeps = false; }

void TRegViewForm::EnableSweeps() { Sweeps = true; }

void TRegViewForm::FormShow()
{
    Caption = lg_KALMOR + " " + kVersion + " / Debug";
    ToClipboard.Caption = lg_TO_CLIPBOARD;
    Save.Caption = lg_TO_FILE;
    ButtonClose.Caption = lg_CLOSE;
    Timer.SetEnabled(true);
}

void TRegViewForm::EnableButtons(bool enabled) { ToClipboard.Enabled = Save.Enabled = enabled; }

void TRegViewForm::TimerTimer()
{
    Timer.SetEnabled(false);
    reportRunning_ = true;
    ++runningReports;
    EnableButtons(false);
    thread_ = std::make_unique<TReportThread>(Sweeps, [this, alive = alive_](TPostedLines::Change change) {
        platform::PostToMainThread([this, alive, change] {
            if (!*alive) return;
            change(Memo.Lines);
            Changed();
        });
    });
    thread_->OnTerminate = [this] { ReportDone(); };
    thread_->Start();
    Changed();
}

void TRegViewForm::ReportDone()
{
    reportRunning_ = false;
    --runningReports;
    EnableButtons(true);
    Changed();
    // A programming error ended the report: shown as any other, the lines so far stay.
    if (const std::string error = thread_->FatalError(); !error.empty())
        platform::ShowMessage(platform::MessageKind::Error, error, lg_KALMOR);
    if (closeAfterReport_) CloseWith(mrOk);
}

void TRegViewForm::ToClipboardClick()
{
    if (CopyAll) CopyAll();
}

void TRegViewForm::SaveClick()
{
    const auto path = platform::SaveFileDialog({ProposedReportFileName(), kRichTextFilter, kRichTextExt});
    if (!path || !SaveRichText) return;
    if (!SaveRichText(*path))
        platform::ShowMessage(platform::MessageKind::Error, "Cannot create file \"" + *path + "\"", lg_KALMOR);
}

void TRegViewForm::ButtonCloseClick() { CloseWith(mrOk); }

bool TRegViewForm::FormCloseQuery()
{
    if (!reportRunning_) return true;
    closeAfterReport_ = true;
    ButtonClose.Enabled = false;
    Changed();
    return false;
}
