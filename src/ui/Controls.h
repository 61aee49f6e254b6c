#pragma once
// The state of a window's controls as plain data. A form class owns these, its handlers
// change them, and its Win32 view copies them into the real controls; setting them from
// code fires nothing. Names and defaults follow the form designer's components.
#include <string>
#include <vector>

enum class TColor { WindowText, Highlight, Red };

struct TControl {
    std::string Caption;
    bool Visible = true;
    bool Enabled = true;
    std::string Hint;
    bool ShowHint = false;
    TColor FontColor = TColor::WindowText;
};

struct TLabel : TControl {};
struct TButton : TControl {};
struct TPanel : TControl {};
struct TGroupBox : TControl {};

struct TCheckBox : TControl {
    bool Checked = false;
};

struct TTrackBar : TControl {
    int Min = 0;
    int Max = 10;
    int Position = 0;
    int PageSize = 2;
    int LineSize = 1;
    int ThumbLength = 20;
    std::vector<int> Ticks;  // manual ticks
};

struct TSpinEdit : TControl {
    int MinValue = 0;
    int MaxValue = 100;
    int Value = 0;
};

struct TComboBox : TControl {
    std::vector<std::string> Items;
    int ItemIndex = -1;
};

struct TRadioGroup : TControl {
    std::vector<std::string> Items;
    int ItemIndex = -1;
};

struct TProgressBar : TControl {
    int Min = 0;
    int Max = 100;
    int Position = 0;
};

struct TTabControl : TControl {
    std::vector<std::string> Tabs;
    int TabIndex = -1;
};

struct TMemo : TControl {
    std::vector<std::string> Lines;
};

struct TMenuItem {
    std::string Caption;
    bool Visible = true;
    bool Enabled = true;
};
