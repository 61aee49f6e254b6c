// kalmor.exe: installs the Win32 views and runs the program's entry.
#include <string>
#include <vector>

#include "app/Program.h"
#include "ui/win32/Views.h"

int main(int argc, char* argv[])
{
    InstallViews();
    return ProgramMain(std::vector<std::string>(argv + 1, argv + argc));
}
