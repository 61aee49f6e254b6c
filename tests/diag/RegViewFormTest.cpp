// The debug-information window: the report built on its worker into the window's lines, in
// order and with its progress lines replaced and removed in place; the window while it runs;
// saving.
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
        SetModalScript(nullptr);
        StoreTest::TearDown();
    }
};

}  // namespace

// Each showing builds the report afresh into its window; the window's lines are the report's,
// progress lines included while they last. "-bb" adds the sweeps of the MMC drive.
TEST_F(RegViewTest, EachWindowBuildsTheReportInItsOrder)
{
    for (const bool sweeps : {true, false}) {
        SCOPED_TRACE(sweeps);
        TRegViewForm form;
        if (sweeps) form.EnableSweeps();
        bool progressShown = false;
        SetModalScript([&](TForm&) {
            // A close asked for once the first lines are in waits for the report's end.
            ASSERT_TRUE(platform::host::RunUntil([&] { return form.ReportRunning() && !form.Memo.Lines.empty(); }));
            EXPECT_TRUE(DebugReportRunning());
            EXPECT_FALSE(form.ToClipboard.Enabled || form.Save.Enabled || form.Close() || form.ButtonClose.Enabled);
            ASSERT_TRUE(platform::host::RunUntil([&] {
                progressShown |= form.Memo.Lines.back().rfind(" BBTest II ->     ", 0) == 0;
                return !form.Visible();
            }));
        });
        EXPECT_EQ(form.ShowModal(), mrOk);
        EXPECT_FALSE(DebugReportRunning());
        TStringLineList direct;
        BuildDebugReport(direct, sweeps);
        EXPECT_EQ(form.Memo.Lines, direct.Lines());
        EXPECT_GT(direct.Count(), 300);
        EXPECT_EQ(std::tuple(Contains(form.Memo.Lines, " BBTest I:  "), progressShown, Contains(form.Memo.Lines, "% fertig")),
                  std::tuple(sweeps, sweeps, false));
        EXPECT_TRUE(form.ToClipboard.Enabled && form.Save.Enabled);
    }
}

// The proposed name is the product's in both languages; a cancelled dialog writes nothing; a
// file that cannot be written says so.
TEST(RegViewSave, ProposedNameCancelAndFailedWrite)
{
    for (const uint8_t language : {0, 1}) {
        platform::host::Reset();
        AssignLanguageTexts(language);
        const std::optional<std::string> chosen = language ? std::optional<std::string>("C:\\ro.rtf") : std::nullopt;
        std::vector<platform::SaveDialogOptions> asked;
        platform::host::SetSaveDialogScript([&](const platform::SaveDialogOptions& options) {
            asked.push_back(options);
            return chosen;
        });
        TRegViewForm form;
        Lines written;
        form.SaveRichText = [&](const std::string& path) { return written.push_back(path), false; };
        form.SaveClick();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].fileName + "|" + asked[0].filter + "|" + asked[0].defaultExt, "Kalmor 1.02.rtf|Rich-Text  (*.rtf)|*.rtf|rtf");
        EXPECT_EQ(written, chosen ? Lines{*chosen} : Lines{});
        const auto messages = platform::host::TakeMessages();
        EXPECT_EQ(messages.empty() ? "" : messages[0].text, chosen ? "Cannot create file \"C:\\ro.rtf\"" : "");
    }
    platform::host::Reset();
}
