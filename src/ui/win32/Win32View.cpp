// The view's window: made for a form, placed as the form says, and the one window procedure
// through which every control's input reaches the form.
#include "ui/win32/Win32View.h"

#include <commctrl.h>

#include <cstring>

#include "platform/Assert.h"
#include "ui/win32/Win32Bound.h"

namespace {

const char kFormClass[] = "KalmorForm";
constexpr int kMaxRowId = 0x4000;

void RegisterFormClass(WNDPROC windowProc)
{
    static const bool registered = [windowProc] {
        INITCOMMONCONTROLSEX controls = {sizeof controls,
                                         ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
        ::InitCommonControlsEx(&controls);
        HINSTANCE instance = ::GetModuleHandleA(nullptr);
        WNDCLASSA formClass = {};
        formClass.lpfnWndProc = windowProc;
        formClass.hInstance = instance;
        formClass.hIcon = ::LoadIconA(instance, "MAINICON");
        if (!formClass.hIcon) formClass.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
        formClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        formClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        formClass.lpszClassName = kFormClass;
        return ::RegisterClassA(&formClass) != 0;
    }();
    KALMOR_ASSERT(registered, "Win32View", "RegisterClass");
}

DWORD WindowStyle(unsigned style)
{
    if (style & fsSplash) return WS_POPUP | WS_CLIPCHILDREN;
    return WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | ((style & fsMinimizeBox) ? WS_MINIMIZEBOX : 0);
}

DWORD WindowExStyle(unsigned style)
{
    DWORD exStyle = WS_EX_CONTROLPARENT;
    if (style & (fsSplash | fsStayOnTop)) exStyle |= WS_EX_TOPMOST;
    if (style & fsSplash) exStyle |= WS_EX_TOOLWINDOW;
    return exStyle;
}

bool IsViewWindow(HWND window)
{
    char name[32] = {};
    ::GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, kFormClass) == 0;
}

}  // namespace

TWin32View::TWin32View(TForm& form, const TWindowSpec& spec) : form_(form), fonts_(spec.fontFace, spec.fontSize)
{
    RegisterFormClass(WindowProc);
    const DWORD style = WindowStyle(spec.style);
    const DWORD exStyle = WindowExStyle(spec.style);
    RECT outer = {0, 0, spec.clientWidth, spec.clientHeight};
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    if (spec.style & fsCentred) {
        form.Left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        form.Top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    }
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    window_ = ::CreateWindowExA(exStyle, kFormClass, form.Caption.c_str(), style, form.Left, form.Top, width, height,
                                nullptr, nullptr, instance, this);
    KALMOR_ASSERT(window_, "Win32View", "CreateWindowEx");
    ::SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Window()), FALSE);

    RECT real;
    ::GetWindowRect(window_, &real);
    form.Left = real.left;
    form.Top = real.top;
    form.Width = real.right - real.left;
    form.Height = real.bottom - real.top;

    tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance,
                                 nullptr);
}

TWin32View::~TWin32View()
{
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);  // its controls and the tooltip window go with it
}

void TWin32View::AddControls(std::initializer_list<TViewRow> rows)
{
    for (const TViewRow& row : rows) {
        KALMOR_ASSERT(row.id > 0 && row.id < kMaxRowId && !Find(row.id), "Win32View", "AddControls: row id");
        HWND parent = window_;
        if (row.parent) {
            TBoundControl* container = Find(row.parent);
            KALMOR_ASSERT(container && IsContainer(*container), "Win32View", "AddControls: parent");
            parent = container->handle;
        }
        auto bound = std::make_unique<TBoundControl>();
        bound->row = row;
        CreateControl(*bound, parent, fonts_);
        if (row.style & rsDefault) defaultId_ = row.id;
        controls_.push_back(std::move(bound));
    }
}

void TWin32View::OnInput(int id, std::function<void()> handler)
{
    TBoundControl* bound = Find(id);
    KALMOR_ASSERT(bound, "Win32View", "OnInput: unknown id");
    bound->handler = std::move(handler);
}

HWND TWin32View::ControlHandle(int id) const
{
    for (const auto& bound : controls_)
        if (bound->row.id == id) return bound->handle;
    return nullptr;
}

TBoundControl* TWin32View::Find(int id)
{
    for (auto& bound : controls_)
        if (bound->row.id == id) return bound.get();
    return nullptr;
}

TBoundControl* TWin32View::Find(HWND control)
{
    if (!control) return nullptr;
    for (auto& bound : controls_) {
        if (bound->handle == control || bound->arrows == control) return bound.get();
        for (HWND button : bound->buttons)
            if (button == control) return bound.get();
    }
    return nullptr;
}

void TWin32View::Update()
{
    updating_ = true;
    char caption[512] = {};
    ::GetWindowTextA(window_, caption, sizeof caption);
    if (form_.Caption != caption) ::SetWindowTextA(window_, form_.Caption.c_str());
    RECT place;
    ::GetWindowRect(window_, &place);
    if (!::IsIconic(window_) && (place.left != form_.Left || place.top != form_.Top))
        ::SetWindowPos(window_, nullptr, form_.Left, form_.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (auto& bound : controls_) UpdateControl(*bound, tooltip_);
    updating_ = false;
}

void TWin32View::SetVisible(bool visible)
{
    if (!visible) {
        ::ShowWindow(window_, SW_HIDE);
        return;
    }
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
    FocusFirst();
}

void TWin32View::RunModal()
{
    MSG message;
    while (form_.Modal()) {
        const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {  // the program ends: the outer loop must see the quit too
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (::IsDialogMessageA(window_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

void TWin32View::BringToFront()
{
    if (::IsIconic(window_)) ::ShowWindow(window_, SW_RESTORE);
    ::SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(window_);
}

bool TWin32View::IsActive() const { return ::GetForegroundWindow() == window_ || ::GetActiveWindow() == window_; }

void TWin32View::FocusFirst()
{
    if (focus_ && ::IsWindow(focus_) && ::IsChild(window_, focus_) && ::IsWindowVisible(focus_) &&
        ::IsWindowEnabled(focus_)) {
        ::SetFocus(focus_);
        return;
    }
    HWND first = ::GetNextDlgTabItem(window_, nullptr, FALSE);
    ::SetFocus(first ? first : window_);
}

bool TWin32View::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CALLBACK TWin32View::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* view = static_cast<TWin32View*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        view->window_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<TWin32View*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!view) return ::DefWindowProcA(window, message, wParam, lParam);
    return view->Handle(message, wParam, lParam);
}

LRESULT TWin32View::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_COMMAND:
        Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        TBoundControl* bound = Find(header->hwndFrom);
        if (bound && header->code == static_cast<UINT>(TCN_SELCHANGE)) Input(*bound, header->hwndFrom, 0);
        return 0;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (TBoundControl* bound = Find(reinterpret_cast<HWND>(lParam)))
            Input(*bound, reinterpret_cast<HWND>(lParam), LOWORD(wParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return Colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR: {
        TBoundControl* bound = Find(reinterpret_cast<HWND>(wParam));
        HCURSOR hand = ::LoadCursorA(nullptr, IDC_HAND);  // missing before Windows 2000/98
        if (bound && (bound->row.style & rsHandCursor) && hand) {
            ::SetCursor(hand);
            return TRUE;
        }
        break;
    }
    case WM_CLOSE:  // close box, Alt+F4: the form may refuse
        form_.Close();
        return 0;
    case WM_MOVE:
        if (!::IsIconic(window_)) {
            RECT place;
            ::GetWindowRect(window_, &place);
            form_.Left = place.left;
            form_.Top = place.top;
        }
        return 0;
    case DM_GETDEFID: {
        // Enter presses the focused push button, otherwise the default button.
        TBoundControl* focused = Find(::GetFocus());
        if (focused && std::holds_alternative<TButton*>(focused->row.control))
            return MAKELRESULT(focused->row.id, DC_HASDEFID);
        return defaultId_ ? MAKELRESULT(defaultId_, DC_HASDEFID) : 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(window_, focus)) focus_ = focus;
        } else {
            FocusFirst();
        }
        return 0;
    default: break;
    }
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

void TWin32View::Command(int id, int code, HWND control)
{
    // Without a control the command came from a key (Enter, Esc): it may press a button only.
    TBoundControl* bound = control ? Find(control) : Find(id);
    if (bound && !control && !std::holds_alternative<TButton*>(bound->row.control)) bound = nullptr;
    if (bound) {
        Input(*bound, control ? control : bound->handle, code);
    } else if (id == IDCANCEL && !control && OnEscape && !updating_) {
        OnEscape();
        Update();
    }
}

void TWin32View::Input(TBoundControl& bound, HWND from, int code)
{
    if (updating_) return;  // set from code: fires nothing
    const TBoundState& state = bound.row.control;
    if (auto* check = std::get_if<TCheckBox*>(&state)) {
        if (code != BN_CLICKED) return;
        (*check)->Checked = ::SendMessageA(from, BM_GETCHECK, 0, 0) == BST_CHECKED;
    } else if (auto* bar = std::get_if<TTrackBar*>(&state)) {
        const int position = static_cast<int>(::SendMessageA(from, TBM_GETPOS, 0, 0));
        if (position == (*bar)->Position) return;
        (*bar)->Position = position;
    } else if (auto* spin = std::get_if<TSpinEdit*>(&state)) {
        if (from != bound.arrows) return;
        const int value = static_cast<int>(::SendMessageA(from, UDM_GETPOS32, 0, 0));
        if (value == (*spin)->Value) return;
        (*spin)->Value = value;
    } else if (auto* combo = std::get_if<TComboBox*>(&state)) {
        if (code != CBN_SELCHANGE) return;
        (*combo)->ItemIndex = static_cast<int>(::SendMessageA(from, CB_GETCURSEL, 0, 0));
    } else if (auto* group = std::get_if<TRadioGroup*>(&state)) {
        int index = 0;
        while (index < static_cast<int>(bound.buttons.size()) && bound.buttons[index] != from) ++index;
        if (code != BN_CLICKED || index == static_cast<int>(bound.buttons.size()) || index == (*group)->ItemIndex) return;
        (*group)->ItemIndex = index;
    } else if (auto* tabs = std::get_if<TTabControl*>(&state)) {
        (*tabs)->TabIndex = static_cast<int>(::SendMessageA(from, TCM_GETCURSEL, 0, 0));
    } else if (std::holds_alternative<TMemo*>(state) || code != BN_CLICKED) {
        return;  // buttons, labels and panels: clicks only (STN_CLICKED is BN_CLICKED)
    }
    if (bound.handler) bound.handler();
    Update();
}

LRESULT TWin32View::Colour(HDC dc, HWND control)
{
    TBoundControl* bound = Find(control);
    int background = COLOR_BTNFACE;
    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    if (bound) {
        text = ColourOf(StateOf(bound->row.control).FontColor);
        // Read-only boxes look like the form designer's: white while enabled.
        const bool box = std::holds_alternative<TMemo*>(bound->row.control) ||
                         std::holds_alternative<TSpinEdit*>(bound->row.control);
        if (box && ::IsWindowEnabled(control)) background = COLOR_WINDOW;
    }
    ::SetTextColor(dc, text);
    ::SetBkColor(dc, ::GetSysColor(background));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(background));
}

int RunMessageLoop()
{
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (root && IsViewWindow(root) && ::IsDialogMessageA(root, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
