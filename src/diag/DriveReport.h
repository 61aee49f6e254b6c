#pragma once
// The German drive report for the maker: program and system versions, the ASPI
// configuration, every SCSI target that answers with its inquiry data and mode pages, and
// for every configured drive its timers, capabilities, disc, TOC, test reads, speed steps
// and (MMC drives) speed-zone tables, then registry dumps. Lines go into the list as soon
// as they are complete; progress lines are replaced and removed in place.
//
// The report changes the drives while it runs (speeds, the MMC zone table, the block size)
// and puts back what it found. Drive failures become "nein", "false", "Fehler", "[ERROR]" or
// -1 in the lines; the report goes on.
#include "diag/LineList.h"

class TCDROM;
class TTarget;

// sweeps: the SET CD SPEED sweeps of MMC drives (option "-bb"), several thousand commands each.
void BuildDebugReport(TLineList& lines, bool sweeps);
// Date and time, versions, operating system, ASPI manager and its configuration.
void ReportHeader(TLineList& lines);
// Identity of any target that answers, with its mode pages in all four page controls.
void ReportTarget(TTarget& target, TLineList& lines);
// Timers, capabilities, disc, TOC, test reads, speed steps and zones of a drive.
void ReportDrive(TCDROM& drive, TLineList& lines, bool sweeps);
