// Making the controls of a view's rows. Controls sit on the window or, nested, on a panel,
// group box or tab control; those containers pass their controls' notifications on to the
// view's window, so one window procedure handles every input.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "platform/Assert.h"
#include "ui/win32/Win32Bound.h"

namespace {

// Marks the windows the view made (in their application data), so a container forwards
// their messages only: a tab control's own scroll arrows stay its own.
constexpr LONG_PTR kMarker = 0x4B4C4D52;
const char kOldProc[] = "KalmorOldProc";
const char kPanelClass[] = "KalmorPanel";
// Panel window extra bytes: the row style and the font.
constexpr int kPanelStyle = 0;
constexpr int kPanelFont = sizeof(LONG_PTR);

bool Marked(HWND window) { return window && ::GetWindowLongPtrA(window, GWLP_USERDATA) == kMarker; }

// Marks a new control and puts it below its siblings: the tab order is the order of making.
void Adopt(HWND window)
{
    ::SetWindowLongPtrA(window, GWLP_USERDATA, kMarker);
    ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool FromOwnControl(UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: return Marked(reinterpret_cast<NMHDR*>(lParam)->hwndFrom);
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return Marked(reinterpret_cast<HWND>(lParam));
    default: return false;
    }
}

LRESULT Forward(HWND container, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(::GetAncestor(container, GA_ROOT), message, wParam, lParam);
}

// Group boxes and tab controls: system classes, subclassed.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto old = reinterpret_cast<WNDPROC>(::GetPropA(window, kOldProc));
    if (FromOwnControl(message, lParam)) return Forward(window, message, wParam, lParam);
    // A group box paints only its frame; with clipped children nobody else erases it.
    if (message == WM_ERASEBKGND) {
        char name[16] = {};
        ::GetClassNameA(window, name, sizeof name);
        if (std::strcmp(name, "Button") == 0) {
            RECT area;
            ::GetClientRect(window, &area);
            ::FillRect(reinterpret_cast<HDC>(wParam), &area, ::GetSysColorBrush(COLOR_BTNFACE));
            return 1;
        }
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        ::RemovePropA(window, kOldProc);
    }
    return ::CallWindowProcA(old, window, message, wParam, lParam);
}

void Subclass(HWND window)
{
    const LONG_PTR old = ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ContainerProc));
    ::SetPropA(window, kOldProc, reinterpret_cast<HANDLE>(old));
}

void PaintPanel(HWND panel)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(panel, &paint);
    RECT area;
    ::GetClientRect(panel, &area);
    const auto style = static_cast<unsigned>(::GetWindowLongPtrA(panel, kPanelStyle));
    if (!(style & rsNoBevel)) ::DrawEdge(dc, &area, (style & rsLowered) ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    char caption[256] = {};
    if (::GetWindowTextA(panel, caption, sizeof caption) > 0) {
        // The view sets the caption's colour as for a label.
        Forward(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(panel));
        ::SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::GetWindowLongPtrA(panel, kPanelFont)));
        ::DrawTextA(dc, caption, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, old);
    }
    ::EndPaint(panel, &paint);
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (FromOwnControl(message, lParam)) return Forward(panel, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: PaintPanel(panel); return 0;
    case WM_SETFONT: ::SetWindowLongPtrA(panel, kPanelFont, static_cast<LONG_PTR>(wParam)); return 0;
    case WM_GETFONT: return ::GetWindowLongPtrA(panel, kPanelFont);
    case WM_SETTEXT: {
        const LRESULT result = ::DefWindowProcA(panel, message, wParam, lParam);
        ::InvalidateRect(panel, nullptr, TRUE);
        return result;
    }
    case WM_LBUTTONUP:  // a click, told as a static text tells it
        Forward(panel, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(panel), STN_CLICKED), reinterpret_cast<LPARAM>(panel));
        return 0;
    default: return ::DefWindowProcA(panel, message, wParam, lParam);
    }
}

void RegisterPanelClass(HINSTANCE instance)
{
    WNDCLASSA panelClass = {};
    if (::GetClassInfoA(instance, kPanelClass, &panelClass)) return;
    panelClass.lpfnWndProc = PanelProc;
    panelClass.cbWndExtra = 2 * sizeof(LONG_PTR);
    panelClass.hInstance = instance;
    panelClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panelClass.lpszClassName = kPanelClass;
    ::RegisterClassA(&panelClass);
}

void LoadRichEdit()
{
    static HMODULE richEdit = ::LoadLibraryA("riched20.dll");
    KALMOR_ASSERT(richEdit, "Win32View", "riched20.dll");
}

void SetRichEditFont(HWND box, const TViewRow& row, TViewFonts& fonts)
{
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD;
    format.dwEffects = (row.style & rsBold) ? CFE_BOLD : 0;
    format.yHeight = FontTwips(row.fontSize ? row.fontSize : fonts.Points());
    std::strncpy(format.szFaceName, row.fontFace ? row.fontFace : fonts.Face().c_str(), LF_FACESIZE - 1);
    ::SendMessageA(box, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    ::SendMessageA(box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

DWORD LabelAlignment(unsigned style)
{
    if (style & rsCenter) return SS_CENTER;
    if (style & rsRight) return SS_RIGHT;
    return SS_LEFTNOWORDWRAP;
}

// Spin edit arrows are numbered above the rows' ids.
constexpr int kArrowsIdBase = 0x4000;

}  // namespace

TControl& StateOf(const TBoundState& state)
{
    return *std::visit([](auto* control) -> TControl* { return control; }, state);
}

bool IsContainer(const TBoundControl& bound)
{
    const TBoundState& state = bound.row.control;
    return std::holds_alternative<TPanel*>(state) || std::holds_alternative<TGroupBox*>(state) ||
           std::holds_alternative<TTabControl*>(state);
}

void CreateControl(TBoundControl& bound, HWND parent, TViewFonts& fonts)
{
    const TViewRow& row = bound.row;
    const TBoundState& state = row.control;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HFONT font = fonts.For(row.fontFace, row.fontSize, (row.style & rsBold) != 0);
    const DWORD tabStop = (row.style & rsNoTabStop) ? 0 : WS_TABSTOP;
    auto make = [&](DWORD exStyle, const char* className, DWORD style, int id, int height) {
        HWND control = ::CreateWindowExA(exStyle, className, "", WS_CHILD | WS_CLIPSIBLINGS | style, row.left, row.top,
                                         row.width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         instance, nullptr);
        KALMOR_ASSERT(control, "Win32View", className);
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Adopt(control);
        return control;
    };
    const int id = row.id;
    const int height = row.height;
    const DWORD container = WS_EX_CONTROLPARENT;

    if (std::holds_alternative<TLabel*>(state)) {
        bound.handle = make(0, "STATIC", SS_NOTIFY | LabelAlignment(row.style), id, height);
    } else if (std::holds_alternative<TButton*>(state)) {
        bound.handle = make(0, "BUTTON", tabStop | ((row.style & rsDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), id, height);
    } else if (std::holds_alternative<TCheckBox*>(state)) {
        bound.handle = make(0, "BUTTON", tabStop | BS_AUTOCHECKBOX, id, height);
    } else if (std::holds_alternative<TGroupBox*>(state) || std::holds_alternative<TRadioGroup*>(state)) {
        bound.handle = make(container, "BUTTON", WS_CLIPCHILDREN | BS_GROUPBOX, id, height);
        Subclass(bound.handle);
    } else if (std::holds_alternative<TPanel*>(state)) {
        RegisterPanelClass(instance);
        bound.handle = make(container, kPanelClass, WS_CLIPCHILDREN, id, height);
        ::SetWindowLongPtrA(bound.handle, kPanelStyle, static_cast<LONG_PTR>(row.style));
    } else if (auto* trackBar = std::get_if<TTrackBar*>(&state)) {
        const DWORD ticks = (row.style & rsManualTicks) ? 0 : TBS_NOTICKS;
        bound.handle = make(0, TRACKBAR_CLASSA, tabStop | TBS_HORZ | TBS_FIXEDLENGTH | ticks, id, height);
        ::SendMessageA(bound.handle, TBM_SETTHUMBLENGTH, (*trackBar)->ThumbLength, 0);
        ::SendMessageA(bound.handle, TBM_SETLINESIZE, 0, (*trackBar)->LineSize);
    } else if (std::holds_alternative<TSpinEdit*>(state)) {
        // The value changes by the arrows only: the edit box is read-only.
        bound.handle = make(WS_EX_CLIENTEDGE, "EDIT", tabStop | ES_READONLY | ES_LEFT, id, height);
        bound.arrows = make(0, UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                            kArrowsIdBase + id, height);
        ::SendMessageA(bound.arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(bound.handle), 0);
    } else if (std::holds_alternative<TComboBox*>(state)) {
        // The height of a drop-down list combo box includes its open list.
        bound.handle = make(0, "COMBOBOX", tabStop | CBS_DROPDOWNLIST | WS_VSCROLL, id, height + 200);
    } else if (std::holds_alternative<TProgressBar*>(state)) {
        bound.handle = make(0, PROGRESS_CLASSA, 0, id, height);
    } else if (std::holds_alternative<TTabControl*>(state)) {
        const DWORD flat = (row.style & rsFlatTabs) ? TCS_BUTTONS | TCS_FLATBUTTONS | TCS_HOTTRACK : 0;
        bound.handle = make(container, WC_TABCONTROLA, tabStop | WS_CLIPCHILDREN | flat, id, height);
        Subclass(bound.handle);
    } else if (row.style & rsRichEdit) {
        LoadRichEdit();
        bound.handle = make(WS_EX_CLIENTEDGE, "RichEdit20A",
                            tabStop | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL |
                                WS_VSCROLL | WS_HSCROLL,
                            id, height);
        ::SendMessageA(bound.handle, EM_SETTARGETDEVICE, 0, 1);  // no word wrap
        ::SendMessageA(bound.handle, EM_EXLIMITTEXT, 0, 0x7FFFFFF0);
        SetRichEditFont(bound.handle, row, fonts);
    } else {
        bound.handle = make(WS_EX_CLIENTEDGE, "EDIT", tabStop | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL,
                            id, height);
        ::SendMessageA(bound.handle, EM_SETLIMITTEXT, 0, 0);
    }
}

// A radio group's buttons, laid out in one column as the form designer lays them out.
void CreateRadioButtons(TBoundControl& bound, const std::vector<std::string>& items)
{
    for (HWND button : bound.buttons) ::DestroyWindow(button);
    bound.buttons.clear();
    if (items.empty()) return;
    HWND group = bound.handle;
    auto font = reinterpret_cast<HFONT>(::SendMessageA(group, WM_GETFONT, 0, 0));
    HDC dc = ::GetDC(group);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA metrics;
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(group, dc);

    const int count = static_cast<int>(items.size());
    const int space = bound.row.height - metrics.tmHeight - 5;
    const int buttonHeight = space / count;
    const int topMargin = metrics.tmHeight + 1 + (space % count) / 2;
    for (int i = 0; i < count; ++i) {
        const DWORD first = i == 0 ? WS_GROUP | WS_TABSTOP : 0;
        HWND button = ::CreateWindowExA(0, "BUTTON", items[i].c_str(),
                                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_AUTORADIOBUTTON | first, 8,
                                        topMargin + i * buttonHeight, bound.row.width - 10, buttonHeight, group,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(i + 1)),
                                        ::GetModuleHandleA(nullptr), nullptr);
        ::SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        Adopt(button);
        bound.buttons.push_back(button);
    }
}
