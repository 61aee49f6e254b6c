#pragma once
// Installs the factory that makes the Win32 view of each of the program's forms.
void InstallViews();
