#pragma once
// The shell services the main window uses: its icon in the notification area of the
// taskbar and opening a document or web address with its default program.
#include <string>

namespace platform {

// Callback message of the tray icon: the first user message + 1. The mouse message arrives
// in the low word of its second parameter.
constexpr unsigned kTrayCallbackMessage = 1025;

enum class TrayAction { Add = 0, Modify = 1, Delete = 2 };
// Normal: the program's icon "MAINICON"; Busy: the icon resource "TASKBAR_ICON2".
enum class TrayIconKind { Normal, Busy };

// Adds, changes or removes the program's tray icon (id 1) with its tip (at most 63
// characters are kept); the shell's result. The callback goes to the main window.
bool TrayIcon(TrayAction action, const std::string& tip, TrayIconKind icon);

// Opens target (a web address, a file) as the shell's default "open" would, shown normal.
void ShellOpen(const std::string& target);

}  // namespace platform
