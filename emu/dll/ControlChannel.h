#pragma once
// The DLL's ways in and out while a program runs it: a control file of commands
// (emu/Control.h) named by WNASPI32_EMU_CONTROL, read and deleted before the next SRB, and the
// command log written to the file named by WNASPI32_EMU_LOG.
#include "emu/Emulator.h"

namespace emu::dll {

// Before each SRB: at most every 50 ms, carries out a waiting control file and appends the
// commands logged since the last time to the log file.
void Poll(Manager& manager);
// Writes what is left of the log (the DLL is unloaded).
void FlushLog();

}  // namespace emu::dll
