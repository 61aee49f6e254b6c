#pragma once
// The speed parts of a drive block: step lists, the MMC zone section and the SET CD SPEED sweeps.
#include "diag/LineList.h"

class TCDROM;

// The drive's steps from the top down, then from the bottom up; the speed is set back after each.
void ReportStepLists(TCDROM& drive, TLineList& lines);
// MMC drives: the zone table as kept, cleared and detected both ways, each with its step
// lists; then the table is put back, and with sweeps the two SET CD SPEED sweeps run.
void ReportZones(TCDROM& drive, TLineList& lines, bool sweeps);
