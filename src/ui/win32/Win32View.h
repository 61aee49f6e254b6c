#pragma once
// The Win32 window of a form. A view derived from TWin32View makes its controls from a table
// of rows in the design's pixel places, each row bound to a control state of the form, and
// binds the form's handlers to them:
//
//     TAboutView(TFormAbout& f) : TWin32View(f, {289, 319, fsDialog | fsCentred})
//     {
//         AddControls({
//             {kPanel1, &f.Panel1, 0, 0, 289, 319, rsNoBevel},
//             {kKalmor, &f.Kalmor, 20, 56, 233, 41, rsCenter, kPanel2, -32},
//             {kButtonOK, &f.ButtonOK, 108, 288, 73, 25, rsDefault},
//         });
//         OnInput(kButtonOK, [&f] { f.CloseWith(mrOk); });
//     }
//
// Update() copies the state into the real controls where it differs; setting a control from
// code fires nothing. User input is read back into the state (Checked, Position, ItemIndex,
// Value, TabIndex), then the control's handler runs, then the view updates itself. Form
// timers and other code that changes state outside a handler call form.Changed().
// The system close (close box, Alt+F4) calls form.Close(), which may refuse.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <variant>
#include <vector>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/win32/Win32Fonts.h"

// Window styles of TWindowSpec, or-ed.
enum TFormStyle : unsigned {
    fsDialog = 1u << 0,       // fixed single border with caption and system menu
    fsMinimizeBox = 1u << 1,  // with fsDialog: a minimise button too
    fsStayOnTop = 1u << 2,
    fsSplash = 1u << 3,       // no border, no taskbar button, stays on top
    fsCentred = 1u << 4,      // centred on the screen when made; otherwise at the form's Left/Top
};

struct TWindowSpec {
    int clientWidth;
    int clientHeight;
    unsigned style;
    const char* fontFace = "MS Sans Serif";
    int fontSize = 8;  // points
};

// Row styles, or-ed.
enum TRowStyle : unsigned {
    rsCenter = 1u << 0,       // label text centred
    rsRight = 1u << 1,        // label text right-aligned
    rsBold = 1u << 2,
    rsDefault = 1u << 3,      // the default button (Enter)
    rsHandCursor = 1u << 4,   // label or panel: hand cursor (a link)
    rsManualTicks = 1u << 5,  // track bar shows its Ticks; otherwise none
    rsFlatTabs = 1u << 6,     // tab control: flat buttons with hot tracking
    rsNoTabStop = 1u << 7,
    rsRichEdit = 1u << 8,     // memo as a RichEdit 2.0 box: both scroll bars, no word wrap
    rsLowered = 1u << 9,      // panel bevel sunk (a 2-pixel high one is a separator line)
    rsNoBevel = 1u << 10,     // panel without a bevel (panels are raised otherwise)
};

// The form's state a row shows. The kind of control follows from it: TLabel a static text,
// TPanel a panel, TMemo a read-only multi-line edit with a vertical scroll bar (or RichEdit).
using TBoundState = std::variant<TLabel*, TButton*, TCheckBox*, TGroupBox*, TPanel*, TTrackBar*, TSpinEdit*,
                                 TComboBox*, TRadioGroup*, TProgressBar*, TTabControl*, TMemo*>;

// One control. Ids are unique in a view and below 0x4000 (the view numbers a spin edit's
// arrows and a radio group's buttons itself). Esc sends id 2 (IDCANCEL) and Enter the default
// button's id, as in a dialog. Tab order is the table order.
struct TViewRow {
    int id;
    TBoundState control;
    int left, top, width, height;  // in the parent's client coordinates
    unsigned style = 0;
    int parent = 0;                // id of the panel, group box or tab control it sits on; 0 = the window
    int fontSize = 0;              // 0: the window's font; > 0 points; < 0 character height in pixels
    const char* fontFace = nullptr;  // nullptr: the window's face
};

struct TBoundControl;

class TWin32View : public TFormView {
public:
    // Makes the window (hidden) and sets the form's Width and Height to its real outer size,
    // and its Left and Top when it is centred.
    TWin32View(TForm& form, const TWindowSpec& spec);
    ~TWin32View() override;

    void Update() override;
    void SetVisible(bool visible) override;
    // Runs the thread's messages until the form is no longer modal; a WM_QUIT ends the run
    // early and is posted again for the outer loop.
    void RunModal() override;
    void BringToFront() override;
    bool IsActive() const override;

    HWND Handle() const { return window_; }
    // The control of a row (for a spin edit its edit box); nullptr for an unknown id.
    HWND ControlHandle(int id) const;

    // Esc pressed in the window (without a control of id 2): runs this when set.
    std::function<void()> OnEscape;

protected:
    // Rows in table order: parents before the controls on them.
    void AddControls(std::initializer_list<TViewRow> rows);
    // The handler of a control's user input.
    void OnInput(int id, std::function<void()> handler);
    // Messages of the window before the view handles them (a tray callback, an own message);
    // true when handled, with the result in result.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    TForm& form_;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Command(int id, int code, HWND control);
    void Input(TBoundControl& bound, HWND from, int code);
    TBoundControl* Find(HWND control);
    TBoundControl* Find(int id);
    LRESULT Colour(HDC dc, HWND control);
    void FocusFirst();

    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND focus_ = nullptr;
    TViewFonts fonts_;
    std::vector<std::unique_ptr<TBoundControl>> controls_;
    int defaultId_ = 0;
    bool updating_ = false;
};

// The program's message loop: runs until WM_QUIT and returns its exit code. Keyboard input of
// a view's window goes through IsDialogMessage (Tab, Enter, Esc).
int RunMessageLoop();
