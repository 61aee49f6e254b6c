// The diagnostics on real Windows semantics, for tools/wine-tests.sh:
//   diagcheck os      prints "<OS version text>|<OS code>"
//   diagcheck repair [miniport...]
//                     runs the ASPI configuration check with these miniports loaded; prints
//                     each question asked and "changed: 0|1". The answers come from
//                     KALMOR_ANSWERS ("yes,no,..."; missing answers are No), so no message
//                     box is ever shown.
//   diagcheck report  builds the drive report of the system's ASPI manager (no sweeps)
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "diag/AspiConfig.h"
#include "diag/DriveReport.h"
#include "diag/SystemInfo.h"
#include "platform/Library.h"
#include "platform/MessageBox.h"
#include "settings/Language.h"
#include "settings/Store.h"
#include "transport/AspiManager.h"

// Replaces the Win32 message box of the platform library in this program only: the
// scripted answers stand in for the user.
namespace platform {

MessageResult ShowMessage(MessageKind kind, const std::string& text, const std::string&)
{
    static std::istringstream answers(std::getenv("KALMOR_ANSWERS") ? std::getenv("KALMOR_ANSWERS") : "");
    if (kind != MessageKind::Confirmation) return MessageResult::Ok;
    std::printf("asked: %s\n", text.c_str());
    std::string answer;
    return std::getline(answers, answer, ',') && answer == "yes" ? MessageResult::Yes : MessageResult::No;
}

}  // namespace platform

namespace {

// The resource map lives below HKLM\HARDWARE, which Windows and Wine keep only in memory:
// keys there must be created volatile, which the program itself never does, so this
// program asks advapi32 directly.
bool CreateLoadedMiniport(const std::string& name)
{
    using RegCreateKeyExAFn = long(__stdcall*)(void* root, const char* path, unsigned long reserved, char* cls,
                                               unsigned long options, unsigned long access, void* security,
                                               void** key, unsigned long* disposition);
    using RegCloseKeyFn = long(__stdcall*)(void* key);
    void* const localMachine = reinterpret_cast<void*>(0x80000002);
    const unsigned long volatileKey = 1;
    const unsigned long allAccess = 0xF003F;
    platform::ModuleHandle advapi = platform::LoadModule("advapi32.dll");
    auto create = reinterpret_cast<RegCreateKeyExAFn>(platform::ModuleProc(advapi, "RegCreateKeyExA"));
    auto close = reinterpret_cast<RegCloseKeyFn>(platform::ModuleProc(advapi, "RegCloseKey"));
    if (!create || !close) return false;
    void* key = nullptr;
    const std::string path = "HARDWARE\\RESOURCEMAP\\ScsiAdapter\\" + name;
    if (create(localMachine, path.c_str(), 0, nullptr, volatileKey, allAccess, nullptr, &key, nullptr) != 0) return false;
    close(key);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    AssignLanguageTexts(1);
    if (command == "os") {
        std::printf("%s|%u\n", OsVersionText().c_str(), unsigned(OsCode()));
    } else if (command == "repair") {
        for (int i = 2; i < argc; ++i) {
            if (!CreateLoadedMiniport(argv[i])) std::printf("cannot create the resource map key of %s\n", argv[i]);
        }
        std::printf("loaded: %s\n", LoadedMiniports().c_str());
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
