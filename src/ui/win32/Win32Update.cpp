// Copying a control's state into its window, only where the window shows something else:
// scalar values are read back from the control, lists are compared with what was last shown.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/LinesEdit.h"
#include "ui/win32/Win32Bound.h"

namespace {

std::string TextOf(HWND window)
{
    std::string text(::GetWindowTextLengthA(window) + 1, '\0');
    text.resize(::GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return text;
}

void SetText(HWND window, const std::string& text)
{
    if (TextOf(window) != text) ::SetWindowTextA(window, text.c_str());
}

void SetShown(HWND window, bool visible)
{
    const bool shown = (::GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) ::ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

void SetEnabled(HWND window, bool enabled)
{
    if ((::IsWindowEnabled(window) != FALSE) != enabled) ::EnableWindow(window, enabled);
}

void SetChecked(HWND button, bool checked)
{
    if ((::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED) != checked)
        ::SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The windows a control's hint belongs to: a radio group's buttons, a spin edit's two parts.
std::vector<HWND> HintWindows(const TBoundControl& bound)
{
    if (!bound.buttons.empty()) return bound.buttons;
    if (bound.arrows) return {bound.handle, bound.arrows};
    return {bound.handle};
}

void SetHint(TBoundControl& bound, HWND tooltip)
{
    const TControl& state = StateOf(bound.row.control);
    const std::string hint = state.ShowHint ? state.Hint : std::string();
    if (hint == bound.shownHint) return;
    const UINT message = bound.shownHint.empty() ? TTM_ADDTOOLA : hint.empty() ? TTM_DELTOOLA : TTM_UPDATETIPTEXTA;
    for (HWND window : HintWindows(bound)) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every comctl32 since 4.70
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = ::GetAncestor(window, GA_ROOT);
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        tool.lpszText = const_cast<char*>(hint.c_str());
        ::SendMessageA(tooltip, message, 0, reinterpret_cast<LPARAM>(&tool));
    }
    bound.shownHint = hint;
}

void SetLines(TBoundControl& bound, const std::vector<std::string>& lines)
{
    const auto edit = LinesEdit(bound.shownItems, lines);
    if (!edit) return;
    HWND box = bound.handle;
    // Where the last kept line ends. A rich edit counts a line break as one character, an
    // edit box as two ("\r\n"); without word wrap a rich edit's lines are the text's lines.
    LPARAM start = 0;
    if (edit->keep > 0) {
        const std::size_t last = edit->keep - 1;
        if (bound.row.style & rsRichEdit) {
            start = ::SendMessageA(box, EM_LINEINDEX, last, 0);
        } else {
            for (std::size_t i = 0; i < last; ++i) start += bound.shownItems[i].size() + 2;
        }
        start += bound.shownItems[last].size();
    }
    ::SendMessageA(box, EM_SETSEL, start, -1);
    ::SendMessageA(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(edit->text.c_str()));
    ::SendMessageA(box, EM_SCROLLCARET, 0, 0);
    bound.shownItems = lines;
}

void SetComboItems(TBoundControl& bound, const TComboBox& combo)
{
    HWND box = bound.handle;
    if (bound.shownItems != combo.Items) {
        ::SendMessageA(box, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : combo.Items) ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        bound.shownItems = combo.Items;
    }
    if (::SendMessageA(box, CB_GETCURSEL, 0, 0) != combo.ItemIndex) ::SendMessageA(box, CB_SETCURSEL, combo.ItemIndex, 0);
}

void SetTabs(TBoundControl& bound, const TTabControl& tabs)
{
    HWND control = bound.handle;
    if (bound.shownItems != tabs.Tabs) {
        ::SendMessageA(control, TCM_DELETEALLITEMS, 0, 0);
        for (std::size_t i = 0; i < tabs.Tabs.size(); ++i) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(tabs.Tabs[i].c_str());
            ::SendMessageA(control, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        bound.shownItems = tabs.Tabs;
    }
    if (::SendMessageA(control, TCM_GETCURSEL, 0, 0) != tabs.TabIndex) ::SendMessageA(control, TCM_SETCURSEL, tabs.TabIndex, 0);
}

void SetTrackBar(TBoundControl& bound, const TTrackBar& bar)
{
    HWND control = bound.handle;
    if (::SendMessageA(control, TBM_GETRANGEMIN, 0, 0) != bar.Min || ::SendMessageA(control, TBM_GETRANGEMAX, 0, 0) != bar.Max) {
        ::SendMessageA(control, TBM_SETRANGEMIN, FALSE, bar.Min);
        ::SendMessageA(control, TBM_SETRANGEMAX, TRUE, bar.Max);
    }
    if (bound.shownTicks != bar.Ticks) {
        ::SendMessageA(control, TBM_CLEARTICS, FALSE, 0);
        for (int tick : bar.Ticks) ::SendMessageA(control, TBM_SETTIC, 0, tick);
        ::InvalidateRect(control, nullptr, TRUE);
        bound.shownTicks = bar.Ticks;
    }
    if (::SendMessageA(control, TBM_GETPAGESIZE, 0, 0) != bar.PageSize) ::SendMessageA(control, TBM_SETPAGESIZE, 0, bar.PageSize);
    if (::SendMessageA(control, TBM_GETLINESIZE, 0, 0) != bar.LineSize) ::SendMessageA(control, TBM_SETLINESIZE, 0, bar.LineSize);
    if (::SendMessageA(control, TBM_GETPOS, 0, 0) != bar.Position) ::SendMessageA(control, TBM_SETPOS, TRUE, bar.Position);
}

void SetSpinEdit(TBoundControl& bound, const TSpinEdit& spin)
{
    int low = 0;
    int high = 0;
    ::SendMessageA(bound.arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    if (low != spin.MinValue || high != spin.MaxValue) ::SendMessageA(bound.arrows, UDM_SETRANGE32, spin.MinValue, spin.MaxValue);
    const std::string text = std::to_string(spin.Value);
    if (::SendMessageA(bound.arrows, UDM_GETPOS32, 0, 0) != spin.Value || TextOf(bound.handle) != text) {
        ::SendMessageA(bound.arrows, UDM_SETPOS32, 0, spin.Value);
        ::SetWindowTextA(bound.handle, text.c_str());
    }
}

void SetProgress(TBoundControl& bound, const TProgressBar& bar)
{
    HWND control = bound.handle;
    if (::SendMessageA(control, PBM_GETRANGE, TRUE, 0) != bar.Min || ::SendMessageA(control, PBM_GETRANGE, FALSE, 0) != bar.Max)
        ::SendMessageA(control, PBM_SETRANGE32, bar.Min, bar.Max);
    if (::SendMessageA(control, PBM_GETPOS, 0, 0) != bar.Position) ::SendMessageA(control, PBM_SETPOS, bar.Position, 0);
}

void SetRadioGroup(TBoundControl& bound, const TRadioGroup& group)
{
    if (bound.shownItems != group.Items) {
        CreateRadioButtons(bound, group.Items);
        bound.shownItems = group.Items;
        bound.shownHint.clear();  // the new buttons have no tooltips yet
    }
    for (std::size_t i = 0; i < bound.buttons.size(); ++i)
        SetChecked(bound.buttons[i], static_cast<int>(i) == group.ItemIndex);
}

}  // namespace

void UpdateControl(TBoundControl& bound, HWND tooltip)
{
    const TBoundState& state = bound.row.control;
    const TControl& control = StateOf(state);
    const bool captioned = std::holds_alternative<TLabel*>(state) || std::holds_alternative<TButton*>(state) ||
                           std::holds_alternative<TCheckBox*>(state) || std::holds_alternative<TGroupBox*>(state) ||
                           std::holds_alternative<TPanel*>(state) || std::holds_alternative<TRadioGroup*>(state);
    if (captioned) SetText(bound.handle, control.Caption);

    if (auto* check = std::get_if<TCheckBox*>(&state)) SetChecked(bound.handle, (*check)->Checked);
    if (auto* bar = std::get_if<TTrackBar*>(&state)) SetTrackBar(bound, **bar);
    if (auto* spin = std::get_if<TSpinEdit*>(&state)) SetSpinEdit(bound, **spin);
    if (auto* combo = std::get_if<TComboBox*>(&state)) SetComboItems(bound, **combo);
    if (auto* group = std::get_if<TRadioGroup*>(&state)) SetRadioGroup(bound, **group);
    if (auto* progress = std::get_if<TProgressBar*>(&state)) SetProgress(bound, **progress);
    if (auto* tabs = std::get_if<TTabControl*>(&state)) SetTabs(bound, **tabs);
    if (auto* memo = std::get_if<TMemo*>(&state)) SetLines(bound, (*memo)->Lines);

    std::vector<HWND> parts = bound.buttons;
    parts.push_back(bound.handle);
    if (bound.arrows) parts.push_back(bound.arrows);
    for (HWND part : parts) {
        SetEnabled(part, control.Enabled);
        SetShown(part, control.Visible);
    }
    SetHint(bound, tooltip);
    if (bound.shownColour != control.FontColor) {
        for (HWND part : parts) ::InvalidateRect(part, nullptr, TRUE);
        bound.shownColour = control.FontColor;
    }
}
