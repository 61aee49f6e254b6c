#pragma once
// The program's entry, the same on every system: the Windows version and single-instance
// checks, the program start of the language and the settings store, the main window with
// the settings dialog, and the message loop. The Win32 WinMain only installs the views and
// calls it.
#include <string>
#include <vector>

// arguments: 1..n, without the program name. Returns the exit code: 1 when the program
// refuses to start, else 0.
int ProgramMain(const std::vector<std::string>& arguments);

// The title the program has before its main window exists: the program file's base name.
std::string ProgramTitle();
