#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "platform/Shell.h"
#include "platform/win32/Win32Shell.h"

namespace {

// The record of the first shell version: every Windows since 95 takes it.
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the 88-byte NOTIFYICONDATA");

HWND trayWindow = nullptr;
HICON busyIcon = nullptr;

HICON IconOf(platform::TrayIconKind kind)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (kind == platform::TrayIconKind::Normal) return ::LoadIconA(instance, "MAINICON");
    return busyIcon;
}

}  // namespace

namespace platform::win32 {

void SetTrayWindow(HWND window) { trayWindow = window; }

}  // namespace platform::win32

namespace platform {

bool TrayIcon(TrayAction action, const std::string& tip, TrayIconKind icon)
{
    if (action == TrayAction::Add && !busyIcon) busyIcon = ::LoadIconA(::GetModuleHandleA(nullptr), "TASKBAR_ICON2");
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = trayWindow;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = IconOf(icon);
    std::strncpy(data.szTip, tip.c_str(), 63);
    static const DWORD messages[] = {NIM_ADD, NIM_MODIFY, NIM_DELETE};
    return ::Shell_NotifyIconA(messages[int(action)], &data) != FALSE;
}

void ShellOpen(const std::string& target)
{
    ::ShellExecuteA(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform
