#include "ui/win32/Win32Menu.h"

int ShowPopupMenu(HWND owner, const std::vector<TPopupItem>& items)
{
    HMENU menu = ::CreatePopupMenu();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TMenuItem& item = *items[i].item;
        if (!item.Visible) continue;
        if (item.Caption == "-")
            ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            ::AppendMenuA(menu, MF_STRING | (item.Enabled ? 0 : MF_GRAYED), i + 1, item.Caption.c_str());
    }
    POINT at;
    ::GetCursorPos(&at);
    // Without the owner in front the menu of a tray icon does not close on a click elsewhere;
    // the posted message lets the menu's second showing work as well.
    ::SetForegroundWindow(owner);
    const int chosen =
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    if (chosen <= 0) return -1;
    const TPopupItem& picked = items[chosen - 1];
    if (picked.onClick) picked.onClick();
    return chosen - 1;
}
