#pragma once
// Facts about the screen that place windows and menus.
#include <optional>

namespace platform {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The desktop without the taskbar; nullopt when the system cannot tell.
std::optional<ScreenRect> DesktopWorkArea();
// The whole primary screen in pixels.
int ScreenWidth();
int ScreenHeight();
// The mouse position in screen pixels.
ScreenPoint CursorPos();

}  // namespace platform
