#include <windows.h>

#include "platform/Screen.h"

namespace platform {

std::optional<ScreenRect> DesktopWorkArea()
{
    RECT area;
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) return std::nullopt;
    return ScreenRect{int(area.left), int(area.top), int(area.right), int(area.bottom)};
}

int ScreenWidth() { return ::GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return ::GetSystemMetrics(SM_CYSCREEN); }

ScreenPoint CursorPos()
{
    POINT point = {};
    ::GetCursorPos(&point);
    return {int(point.x), int(point.y)};
}

}  // namespace platform
