#pragma once
// The window that owns the tray icon and receives its callback message; the main window's
// view sets it when it is made.
#include <windows.h>

namespace platform::win32 {

void SetTrayWindow(HWND window);

}  // namespace platform::win32
