// The diagnostics on Wine, for tools/wine-tests.sh:
//   diagcheck os                     "<OS version text>|<OS code>"
//   diagcheck repair [miniport...]   the ASPI configuration check with these miniports loaded:
//                                    each question asked, then "changed: 0|1"; the answers
//                                    come from KALMOR_ANSWERS ("yes,no,..."; missing ones are No)
//   diagcheck report                 the drive report of the system's ASPI manager, no sweeps
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "diag/AspiConfig.h"
#include "diag/DriveReport.h"
#include "diag/SystemInfo.h"
#include "platform/Library.h"
#include "platform/MessageBox.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "transport/AspiManager.h"

// Stands in for the Win32 message box of the platform library in this program: the scripted
// answers are the user.
platform::MessageResult platform::ShowMessage(MessageKind kind, const std::string& text, const std::string&)
{
    static std::istringstream answers(std::getenv("KALMOR_ANSWERS") ? std::getenv("KALMOR_ANSWERS") : "");
    if (kind != MessageKind::Confirmation) return MessageResult::Ok;
    std::printf("asked: %s\n", text.c_str());
    std::string answer;
    return std::getline(answers, answer, ',') && answer == "yes" ? MessageResult::Yes : MessageResult::No;
}

// The resource map lies below HKLM\HARDWARE, which exists only in memory: its keys must be
// created volatile, which the program never does, so advapi32 is asked directly.
static bool CreateLoadedMiniport(const std::string& name)
{
    using CreateFn = long(__stdcall*)(void*, const char*, unsigned long, char*, unsigned long, unsigned long, void*,
                                      void**, unsigned long*);
    using CloseFn = long(__stdcall*)(void*);
    platform::ModuleHandle advapi = platform::LoadModule("advapi32.dll");
    auto create = reinterpret_cast<CreateFn>(platform::ModuleProc(advapi, "RegCreateKeyExA"));
    auto close = reinterpret_cast<CloseFn>(platform::ModuleProc(advapi, "RegCloseKey"));
    void* key = nullptr;
    const std::string path = "HARDWARE\\RESOURCEMAP\\ScsiAdapter\\" + name;
    // HKEY_LOCAL_MACHINE, REG_OPTION_VOLATILE, KEY_ALL_ACCESS
    if (!create || !close || create(reinterpret_cast<void*>(0x80000002), path.c_str(), 0, nullptr, 1, 0xF003F, nullptr,
                                    &key, nullptr) != 0)
        return false;
    close(key);
    return true;
}

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    AssignLanguageTexts(1);
    if (command == "os") {
        std::printf("%s|%u\n", OsVersionText().c_str(), unsigned(OsCode()));
    } else if (command == "repair") {
        for (int i = 2; i < argc; ++i) {
            if (!CreateLoadedMiniport(argv[i])) std::printf("cannot load %s\n", argv[i]);
        }
        std::printf("changed: %d\n", CheckAspiConfiguration() ? 1 : 0);
    } else if (command == "report") {
        InitASPI32();
        BuildDriveList();
        TStringLineList lines;
        BuildDebugReport(lines, false);
        for (const std::string& line : lines.Lines()) std::printf("%s\n", line.c_str());
        FreeDriveList();
        UnloadASPI32();
    } else {
        std::fprintf(stderr, "usage: diagcheck os|repair|report\n");
        return 2;
    }
    return 0;
}
