// The debug-information window: the report built on its worker into the window's lines, in
// order and with its progress lines replaced and removed in place; the drives left to the
// report while it runs; saving.
#include <algorithm>

#include "diag/DriveReport.h"
#include "diag/RegViewForm.h"
#include "emu/Scenario.h"
#include "platform/host/HostFileDialog.h"
#include "platform/host/HostLoop.h"
#include "settings/Language.h"
#include "settings/StoreTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

// Stands in for the window: remembers the last line shown at each update; while the window is
// modal it runs the test's script, by default until the report is done, then closes.
class RecordingView : public TFormView {
public:
    RecordingView(TRegViewForm& form, Lines& shown, std::function<void(TRegViewForm&)> script)
        : form_(form), shown_(shown), script_(std::move(script))
    {
    }
    void Update() override
    {
        if (!form_.Memo.Lines.empty()) shown_.push_back(form_.Memo.Lines.back());
    }
    void SetVisible(bool) override {}
    void RunModal() override
    {
        if (script_) script_(form_);
        ASSERT_TRUE(platform::host::RunUntil([this] { return !form_.Modal() || ReportDone(form_); }));
        if (form_.Modal()) form_.ButtonCloseClick();
    }
    void BringToFront() override {}
    bool IsActive() const override { return true; }

    static bool ReportDone(const TRegViewForm& form) { return !form.Timer.Enabled() && !form.ReportRunning(); }

private:
    TRegViewForm& form_;
    Lines& shown_;
    std::function<void(TRegViewForm&)> script_;
};

bool Contains(const Lines& lines, const std::string& part)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// The default system after a start: TEAC, the empty LITEON (an MMC drive), PLEXTOR.
class RegViewTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        AssignLanguageTexts(1);
        platform::host::SetDateTimeText("01.02.2003", "04:05:06");
        const auto system = emu::DefaultScenario();
        for (const uint8_t target : {1, 2, 4}) manager_->attach(0, target, 0, system->device(target == 4 ? 1 : 0, target, 0));
        StartProgram();
        for (int i = 0; i < numDrives; ++i) DetectSpeeds(i, false);
    }
    void TearDown() override
    {
        SetViewFactory(nullptr);
        StoreTest::TearDown();
    }

    // Shows a fresh window modally; its view records into shown_.
    std::unique_ptr<TRegViewForm> ShowWindow(bool sweeps, std::function<void(TRegViewForm&)> script = nullptr)
    {
        SetViewFactory([this, script](TForm& form) {
            return std::make_unique<RecordingView>(static_cast<TRegViewForm&>(form), shown_, script);
        });
        auto form = std::make_unique<TRegViewForm>();
        if (sweeps) form->EnableSweeps();
        form->ShowModal();
        return form;
    }

    Lines shown_;
};

}  // namespace

// Each showing builds the report afresh; the window's lines are the report's, progress lines
// included while they last. "-bb" adds the sweeps of the MMC drive.
TEST_F(RegViewTest, EachWindowBuildsTheReportInItsOrder)
{
    for (const bool sweeps : {true, false}) {
        SCOPED_TRACE(sweeps);
        shown_.clear();
        const auto form = ShowWindow(sweeps);
        TStringLineList direct;
        BuildDebugReport(direct, sweeps);
        EXPECT_EQ(form->Memo.Lines, direct.Lines());
        EXPECT_GT(direct.Count(), 300);
        EXPECT_EQ(Contains(form->Memo.Lines, " BBTest I:  "), sweeps);
        EXPECT_EQ(Contains(shown_, " BBTest II ->     "), sweeps);
        EXPECT_FALSE(Contains(form->Memo.Lines, "% fertig"));
    }
}

// While the report runs its worker owns the drives; copy and save wait for the whole report,
// and a close waits for its end (the report puts back what it changed on the drives).
TEST_F(RegViewTest, WhileTheReportRunsItKeepsTheDrivesAndTheWindow)
{
    const auto form = ShowWindow(false, [](TRegViewForm& f) {
        ASSERT_TRUE(platform::host::RunUntil([&] { return f.ReportRunning() && !f.Memo.Lines.empty(); }));
        EXPECT_TRUE(DebugReportRunning());
        EXPECT_FALSE(f.ToClipboard.Enabled || f.Save.Enabled);
        EXPECT_FALSE(f.Close());
        EXPECT_TRUE(f.Visible() && !f.ButtonClose.Enabled);
        ASSERT_TRUE(platform::host::RunUntil([&] { return !f.Visible(); }));
        EXPECT_FALSE(f.ReportRunning());
    });
    EXPECT_FALSE(DebugReportRunning());
    EXPECT_EQ(form->ModalResult, mrOk);
    EXPECT_TRUE(form->ToClipboard.Enabled && form->Save.Enabled);
}

// The proposed name is the product's in both languages; a cancelled dialog writes nothing, a
// file that cannot be written says so.
TEST(RegViewSave, ProposedNameCancelAndFailedWrite)
{
    const struct Case {
        uint8_t language;
        std::optional<std::string> chosen;
        bool writes;
        const char* message;
    } cases[] = {
        {0, std::nullopt, true, nullptr},
        {1, "C:\\Berichte\\Kalmor 1.02.rtf", true, nullptr},
        {1, "C:\\read only.rtf", false, "Cannot create file \"C:\\read only.rtf\""},
    };
    for (const Case& c : cases) {
        platform::host::Reset();
        AssignLanguageTexts(c.language);
        std::vector<platform::SaveDialogOptions> asked;
        platform::host::SetSaveDialogScript([&](const platform::SaveDialogOptions& options) {
            asked.push_back(options);
            return c.chosen;
        });
        TRegViewForm form;
        std::vector<std::string> written;
        form.SaveRichText = [&](const std::string& path) {
            written.push_back(path);
            return c.writes;
        };
        form.SaveClick();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].fileName, "Kalmor 1.02.rtf");
        EXPECT_EQ(asked[0].filter, "Rich-Text  (*.rtf)|*.rtf");
        EXPECT_EQ(asked[0].defaultExt, "rtf");
        EXPECT_EQ(written, c.chosen ? std::vector<std::string>{*c.chosen} : std::vector<std::string>{});
        const auto messages = platform::host::TakeMessages();
        EXPECT_EQ(messages.empty() ? "" : messages[0].text, c.message ? c.message : "");
    }
    platform::host::Reset();
}
