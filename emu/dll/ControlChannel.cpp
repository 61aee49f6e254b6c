// The control file's notes go to the log file, or to stderr without one. The log is written
// by a thread of its own every 100 ms, so a test sees a command soon after it ends.
#include "emu/dll/ControlChannel.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>

#include "emu/Control.h"

namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kLogMs = 100;

std::mutex pollLock;
std::mutex fileLock;
DWORD lastPoll = 0;
bool polled = false;

std::string Setting(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

const char* DirectionText(emu::Direction direction)
{
    if (direction == emu::Direction::In) return "in";
    if (direction == emu::Direction::Out) return "out";
    return "none";
}

void Note(const std::string& text)
{
    std::lock_guard<std::mutex> guard(fileLock);
    const std::string path = Setting("WNASPI32_EMU_LOG");
    if (path.empty()) {
        std::fprintf(stderr, "WNASPI32: %s\n", text.c_str());
        return;
    }
    std::ofstream(path, std::ios::app) << "# " << text << "\n";
}

// One line per SRB: address, CDB, direction and length, SRB status.
void WriteLog(emu::Manager& manager)
{
    const std::string path = Setting("WNASPI32_EMU_LOG");
    if (path.empty()) return;
    const std::vector<emu::LogEntry> entries = manager.takeCompletedLog();
    if (entries.empty()) return;
    std::ofstream out(path, std::ios::app);
    char text[16];
    for (const emu::LogEntry& entry : entries) {
        std::snprintf(text, sizeof text, "%d:%d:%d", entry.haId, entry.target, entry.lun);
        out << text << " CDB";
        for (uint8_t byte : entry.cdb) {
            std::snprintf(text, sizeof text, " %02X", byte);
            out << text;
        }
        std::snprintf(text, sizeof text, "%02X", entry.status);
        out << " DIR " << DirectionText(entry.direction) << " LEN " << entry.length << " STATUS " << text << "\n";
    }
}

void RunWaitingControlFile(emu::Manager& manager)
{
    const std::string path = Setting("WNASPI32_EMU_CONTROL");
    if (path.empty()) return;
    for (const std::string& note : emu::RunControlFile(manager, path)) Note(note);
}

DWORD WINAPI LogWriter(LPVOID)
{
    for (;;) {
        ::Sleep(kLogMs);
        emu::dll::FlushLog();
    }
}

}  // namespace

namespace emu::dll {

void Poll(Manager& manager)
{
    std::lock_guard<std::mutex> guard(pollLock);
    const DWORD now = ::GetTickCount();
    if (polled && now - lastPoll < kPollMs) return;
    if (!polled && !Setting("WNASPI32_EMU_LOG").empty()) {
        // Pinned: a FreeLibrary by the program must not unload the writer's code under it.
        HMODULE self = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                             reinterpret_cast<LPCSTR>(&LogWriter), &self);
        ::CloseHandle(::CreateThread(nullptr, 0, LogWriter, nullptr, 0, nullptr));
    }
    polled = true;
    lastPoll = now;
    RunWaitingControlFile(manager);
}

void FlushLog()
{
    // At process exit the writer thread is gone, perhaps while holding the lock.
    std::unique_lock<std::mutex> guard(fileLock, std::try_to_lock);
    if (!guard.owns_lock()) return;
    if (std::shared_ptr<Manager> manager = Current()) WriteLog(*manager);
}

}  // namespace emu::dll

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_DETACH) emu::dll::FlushLog();
    return TRUE;
}
