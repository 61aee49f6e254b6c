#pragma once
// A popup menu made of a form's menu item states, shown at the mouse pointer (the tray
// icon's menu).
#include <windows.h>

#include <functional>
#include <vector>

#include "ui/Controls.h"

struct TPopupItem {
    const TMenuItem* item;  // the caption "-" makes a separator
    std::function<void()> onClick;
};

// Shows the visible items (disabled ones greyed) at the pointer, owned by owner; runs the chosen
// item's onClick, if any, and returns its index in items, or -1 when the menu was dismissed.
int ShowPopupMenu(HWND owner, const std::vector<TPopupItem>& items);
