#pragma once
// wininspect: a Windows-side tool that lists, reads and drives the windows of other
// processes, for the GUI checks under Wine. Text goes out as UTF-8.
#include <windows.h>

#include <string>

std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
// The text of any process's window (WM_GETTEXT is marshalled across processes).
std::string WindowText(HWND window);
std::string ClassOf(HWND window);
// Double-quoted, with \ " CR LF escaped, for one-line output.
std::string Quoted(const std::string& text);
std::string Hex(UINT_PTR value);
// A cross-process message with a 2 s time-out; ok false when it timed out.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* ok = nullptr);

// list [-a] [substr]: top-level windows (visible only unless all) whose class or title contains
// filter, each with its descendants and their control state.
void ListWindows(bool all, const std::string& filter);
