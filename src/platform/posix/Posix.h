#pragma once
// Controls of the Linux program's platform body: its main loop, the settings file and the
// text conversion at the terminal.
#include <cstdint>
#include <functional>
#include <string>

namespace platform::posix {

// Runs posted tasks and due timers on the calling thread, the program's main thread, until
// done() holds (checked after every task and tick) or StopLoop is called. Waits in between
// without using the processor. False when stopped before done() held.
bool RunLoopUntil(const std::function<bool()>& done);
// Ends RunLoopUntil; any thread may call it.
void StopLoop();
// From now on SIGINT and SIGTERM end RunLoopUntil instead of the program.
void StopLoopOnSignals();
// The signal that stopped the loop (SIGINT, SIGTERM), or 0.
int StopSignal();

// The settings file: $XDG_CONFIG_HOME/kalmor/kalmor.reg, or ~/.config/kalmor/kalmor.reg.
std::string StoreFileName();
// Loads the settings file into the registry (a missing file is an empty store). False with
// the reason when the file exists but cannot be read or is not a registry export; the
// registry then stays as it was.
bool LoadStore(std::string& error);
// Saves the registry when it differs from what was loaded or saved last, atomically (the
// folder is created first). False with the reason when that fails.
bool SaveStoreIfChanged(std::string& error);
// True when another program has replaced the settings file since it was loaded or saved.
bool StoreChangedOnDisk();

// Windows-1252 text as UTF-8, for the terminal and for files written for it.
std::string Utf8FromCp1252(const std::string& text);

}  // namespace platform::posix
