// The form base: the modal run, the close query and the view it drives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/Form.h"

namespace {

class Dialog : public TForm {
public:
    Dialog() : TForm(300, 200) {}
    bool mayClose = true;
    std::vector<std::string> events;

protected:
    void FormShow() override { events.push_back("show"); }
    bool FormCloseQuery() override
    {
        events.push_back("query");
        return mayClose;
    }
    void FormClose() override { events.push_back("close"); }
};

class RecordingView : public TFormView {
public:
    explicit RecordingView(TForm& form, std::vector<std::string>& log) : form_(form), log_(log) {}
    void Update() override { log_.push_back("update " + form_.Caption); }
    void SetVisible(bool visible) override { log_.push_back(visible ? "visible" : "hidden"); }
    void RunModal() override
    {
        log_.push_back("loop");
        form_.CloseWith(mrOk);
    }
    void BringToFront() override {}
    bool IsActive() const override { return false; }

private:
    TForm& form_;
    std::vector<std::string>& log_;
};

TEST(Form, ANativeModalRunPlaysTheScriptAndARefusedCloseKeepsTheFormOpen)
{
    Dialog dialog;
    int scripted = 0;
    SetModalScript([&](TForm& form) {
        ++scripted;
        EXPECT_TRUE(form.Visible() && form.Modal());
        dialog.mayClose = false;
        EXPECT_FALSE(form.Close());
        EXPECT_TRUE(form.Visible());
        dialog.mayClose = true;
        form.CloseWith(mrOk);
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(std::tuple(scripted, dialog.Visible()), std::tuple(1, false));
    EXPECT_EQ(dialog.events, (std::vector<std::string>{"show", "query", "query", "close"}));

    SetModalScript(nullptr);  // nobody closes it: the run ends as a cancel
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST(Form, AViewRendersTheStateAndRunsTheModalLoop)
{
    std::vector<std::string> log;
    SetViewFactory([&](TForm& form) { return std::make_unique<RecordingView>(form, log); });
    Dialog dialog;
    dialog.Caption = "Settings";
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    dialog.Caption = "Again";
    dialog.Changed();
    SetViewFactory(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"update Settings", "visible", "loop", "hidden", "update Again"}));
}

}  // namespace
