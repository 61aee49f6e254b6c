#pragma once
// Controls of the native platform implementation, for tests, tools and the emulator.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

namespace platform::host {

// Virtual clock.
void AdvanceClock(uint32_t ms);
void SetClock(uint32_t ms);

// Native "libraries": a module is a table of named entry points that LoadModule finds
// by its file name (compared case-insensitively). fileName is what ModuleFileName reports.
void RegisterModule(const std::string& fileName, const std::map<std::string, void*>& procs);
void UnregisterModule(const std::string& fileName);
int LoadedModuleCount();

// The system directory SystemDirectory reports; "C:\windows\system32" by default.
void SetSystemDirectory(const std::string& dir);

// Message boxes shown so far, and scripted answers to confirmations (Yes when none queued).
struct ShownMessage {
    MessageKind kind;
    std::string text;
    std::string caption;
};
std::vector<ShownMessage> TakeMessages();
void QueueAnswer(MessageResult answer);


// Back to a fresh state: clock 0, default system directory, no messages, an empty
// registry, an English user, Windows 95/98, no scripted devices, the default system facts
// (HostSystemInfo.h). Modules stay registered until their owner unregisters them.
void Reset();

}  // namespace platform::host
