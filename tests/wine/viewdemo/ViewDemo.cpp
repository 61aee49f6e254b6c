// A form with one control of every kind the view base makes, shown modally under Wine by
// tools/wine-tests.sh. Every handler writes one line to the log file given as the first
// argument, so the checks see what reached the form. The second argument is the file the
// "Save" button writes the rich edit's RTF to.
//
//     viewdemo.exe LOG RTF
#include <cstdio>
#include <string>

#include "platform/MainLoop.h"
#include "ui/Form.h"
#include "ui/win32/Win32Menu.h"
#include "ui/win32/Win32RichEdit.h"
#include "ui/win32/Win32View.h"

namespace {

FILE* logFile = stdout;

std::string Numbered(const char* what, int value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", what, value);
    return text;
}

void Log(const std::string& line)
{
    std::fprintf(logFile, "%s\n", line.c_str());
    std::fflush(logFile);
}

class TDemoForm : public TForm {
public:
    TDemoForm() : TForm(0, 0) {}

    TPanel Back, Banner, Separator;
    TLabel Title, Bold, Link, Right;
    TGroupBox Group;
    TCheckBox AllowClose;
    TSpinEdit Seconds;
    TTabControl Tabs;
    TTrackBar Speed;
    TComboBox Mode;
    TRadioGroup Start;
    TProgressBar Progress;
    TMemo Log, Report;
    TButton Apply, Copy, Save, Menu;
    TMenuItem First{"First"}, Line{"-"}, Second{"Second"}, Hidden{"Hidden", false};
    platform::Timer Tick{100};

protected:
    void FormShow() override
    {
        Caption = "View demo";
        Title.Caption = "Kalmor";
        Title.FontColor = TColor::Red;
        Bold.Caption = "Bold 13 px";
        Link.Caption = "http://www.example.org/";
        Link.FontColor = TColor::Highlight;
        Right.Caption = "300 ms";
        Group.Caption = "Group";
        AllowClose.Caption = "Allow close";
        AllowClose.Hint = "Closing is refused while this is off";
        AllowClose.ShowHint = true;
        Seconds.MaxValue = 60;
        Seconds.Value = 5;
        Tabs.Tabs = {"Drive A", "Drive B"};
        Tabs.TabIndex = 0;
        Speed.Min = 1;
        Speed.Max = 9;
        Speed.Position = 1;
        Speed.LineSize = 2;
        Speed.ThumbLength = 16;
        Speed.Ticks = {1, 3, 9};
        Mode.Items = {"Slow", "Normal", "Fast"};
        Mode.ItemIndex = 1;
        Start.Caption = "Start";
        Start.Items = {"Tray", "Terminate", "Manual"};
        Start.ItemIndex = 2;
        Log.Lines = {"first line", "second line"};
        Report.Lines = {"Pr\xfc" "fbericht", "Zeile 2"};
        Apply.Caption = "Apply";
        Copy.Caption = "Copy";
        Save.Caption = "Save";
        Menu.Caption = "Menu";
        // A main-loop timer runs inside the modal loop.
        Tick.OnTimer = [this] {
            Tick.SetEnabled(false);
            Progress.Position = 50;
            Report.Lines.push_back("timer");
            ::Log("timer");
            Changed();
        };
        Tick.SetEnabled(true);
    }
    bool FormCloseQuery() override
    {
        ::Log(std::string("close query ") + (AllowClose.Checked ? "allowed" : "refused"));
        return AllowClose.Checked;
    }
};

enum {
    kBack = 10, kBanner, kTitle, kBold, kLink, kSeparator, kRight, kGroup, kAllowClose, kSeconds, kTabs, kSpeed,
    kMode, kStart, kProgress, kLog, kReport, kApply, kCopy, kSave, kMenu
};

class TDemoView : public TWin32View {
public:
    TDemoView(TDemoForm& f, const std::string& rtfPath)
        : TWin32View(f, {500, 400, fsDialog | fsMinimizeBox | fsCentred, "Comic Sans MS", 8})
    {
        AddControls({
            {kBack, &f.Back, 0, 0, 500, 400, rsNoBevel},
            {kBanner, &f.Banner, 8, 8, 233, 100, rsHandCursor, kBack},
            {kTitle, &f.Title, 0, 4, 233, 41, rsCenter, kBanner, -32},
            {kBold, &f.Bold, 0, 48, 233, 20, rsCenter | rsBold, kBanner, -13},
            {kLink, &f.Link, 8, 72, 217, 16, rsCenter | rsHandCursor, kBanner},
            {kSeparator, &f.Separator, 8, 112, 233, 2, rsLowered, kBack},
            {kRight, &f.Right, 180, 118, 60, 17, rsRight, kBack},
            {kGroup, &f.Group, 8, 136, 233, 80, 0, kBack},
            {kAllowClose, &f.AllowClose, 8, 20, 150, 17, 0, kGroup},
            {kSeconds, &f.Seconds, 8, 44, 57, 24, 0, kGroup},
            {kTabs, &f.Tabs, 250, 8, 242, 110, rsFlatTabs, kBack},
            {kSpeed, &f.Speed, 8, 30, 201, 24, rsManualTicks, kTabs},
            {kMode, &f.Mode, 8, 70, 100, 22, 0, kTabs},
            {kStart, &f.Start, 250, 124, 242, 73, 0, kBack},
            {kProgress, &f.Progress, 8, 224, 484, 9, 0, kBack},
            {kLog, &f.Log, 8, 240, 236, 110, rsNoTabStop, kBack},
            {kReport, &f.Report, 256, 240, 236, 110, rsRichEdit, kBack, 8, "Courier"},
            {kApply, &f.Apply, 8, 364, 80, 25, rsDefault, kBack},
            {kCopy, &f.Copy, 96, 364, 80, 25, 0, kBack},
            {kSave, &f.Save, 184, 364, 80, 25, 0, kBack},
            {kMenu, &f.Menu, 272, 364, 80, 25, 0, kBack},
        });
        OnInput(kBanner, [] { Log("banner click"); });
        OnInput(kLink, [] { Log("link click"); });
        OnInput(kAllowClose, [&f] { Log(Numbered("check", f.AllowClose.Checked)); });
        OnInput(kSeconds, [&f] { Log(Numbered("spin", f.Seconds.Value)); });
        OnInput(kTabs, [&f] { Log(Numbered("tab", f.Tabs.TabIndex)); });
        OnInput(kSpeed, [&f] {
            Log(Numbered("track", f.Speed.Position));
            f.Log.Lines.push_back(Numbered("speed", f.Speed.Position));  // appended
            f.Report.Lines[1] = Numbered("Zeile 2, speed", f.Speed.Position);  // replaced before the last line
        });
        OnInput(kMode, [&f] { Log(Numbered("combo", f.Mode.ItemIndex)); });
        OnInput(kStart, [&f] { Log(Numbered("radio", f.Start.ItemIndex)); });
        OnInput(kApply, [] { Log("apply"); });
        OnInput(kCopy, [this] {
            RichEditCopyAll(ControlHandle(kReport));
            Log("copied");
        });
        OnInput(kSave, [this, rtfPath] { Log(RichEditSaveRtf(ControlHandle(kReport), rtfPath) ? "saved" : "not saved"); });
        OnInput(kMenu, [this, &f] {
            const int chosen = ShowPopupMenu(Handle(), {{&f.First, nullptr},
                                                        {&f.Line, nullptr},
                                                        {&f.Second, [] { Log("second chosen"); }},
                                                        {&f.Hidden, nullptr}});
            Log(Numbered("menu", chosen));
        });
        OnEscape = [&f] {
            Log("escape");
            f.Close();
        };
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1) logFile = std::fopen(argv[1], "wb");
    if (!logFile) return 2;
    const std::string rtfPath = argc > 2 ? argv[2] : "viewdemo.rtf";
    SetViewFactory([rtfPath](TForm& form) {
        return std::make_unique<TDemoView>(static_cast<TDemoForm&>(form), rtfPath);
    });
    TDemoForm form;
    Log("shown");
    const int result = form.ShowModal();
    std::fprintf(logFile, "modal result %d size %dx%d\n", result, form.Width, form.Height);
    return 0;
}
