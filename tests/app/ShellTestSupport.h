#pragma once
// The program's main window on emulated drives and the virtual clock: a start as the
// program entry makes it, the splash's progress texts as a view would show them, and the
// modal windows the test meets, with what the test does while each is open.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/MenuWindows.h"
#include "app/TaskBar.h"
#include "platform/Application.h"
#include "platform/host/HostLoop.h"
#include "platform/host/HostShell.h"
#include "settings/Autostart.h"
#include "settings/Language.h"
#include "settings/StoreTestSupport.h"

// Records the splash's progress text each time the form asks its window to repaint.
class SplashRecorder : public TFormView {
public:
    SplashRecorder(TFormMain& form, std::vector<std::string>& hints) : form_(form), hints_(hints) {}
    void Update() override
    {
        if (form_.Visible() && (hints_.empty() || hints_.back() != form_.ProgressHint.Caption))
            hints_.push_back(form_.ProgressHint.Caption);
    }
    void SetVisible(bool) override {}
    void RunModal() override {}
    void BringToFront() override {}
    bool IsActive() const override { return false; }

private:
    TFormMain& form_;
    std::vector<std::string>& hints_;
};

class ShellTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        AssignLanguageTexts(1);
        CheckVersionStamp(false);
        SetViewFactory([this](TForm& form) -> std::unique_ptr<TFormView> {
            auto* main = dynamic_cast<TFormMain*>(&form);
            if (!main) return nullptr;
            return std::make_unique<SplashRecorder>(*main, hints_);
        });
        SetModalScript([this](TForm& form) {
            shown_.push_back(&form);
            if (duringModal_) duringModal_(form);
        });
    }
    void TearDown() override
    {
        main_.reset();
        dialog_.reset();
        SetViewFactory(nullptr);
        SetModalScript(nullptr);
        StoreTest::TearDown();
    }

    // The program from its settings store's start to the end of the start-up chain (or
    // its end); false when it did not get there within ten virtual minutes.
    bool Start(const std::vector<std::string>& arguments = {})
    {
        StartSettingsStore(arguments);
        dialog_ = MakeConfigDialog();
        main_ = std::make_unique<TFormMain>(*dialog_);
        main_->FormCreate(arguments);
        if (!platform::ApplicationTerminated()) main_->Show();
        return platform::host::RunUntil(
            [this] { return !main_->Starting() || platform::ApplicationTerminated(); }, 600000);
    }

    // Fills the detection cache of the attached drives, as an earlier start did: a drive
    // without one loses its user settings at the next start.
    void CacheDetection()
    {
        BuildDriveList();
        for (int drive = 0; drive < numDrives; ++drive) DetectSpeeds(drive, false);
        FreeDriveList();
    }

    std::unique_ptr<TForm> dialog_;
    std::unique_ptr<TFormMain> main_;
    std::vector<std::string> hints_;
    std::vector<TForm*> shown_;
    std::function<void(TForm&)> duringModal_;
};
