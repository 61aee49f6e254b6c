#pragma once
// The ASPI manager's list of ignored SCSI miniports ("ExcludeMiniports") on Windows NT 4.0
// and the early Windows 2000 builds: the checks the drive report prints and the repair
// that runs at every start. All keys are per-machine; a value that is not a string counts
// as missing.
#include <string>

// Subkey names of the SCSI adapter resource map joined by ";"; empty when the key is missing.
std::string LoadedMiniports();
// The upper-cased name occurs anywhere in the upper-cased LoadedMiniports().
bool MiniportLoaded(const std::string& name);

bool ExclusionListExists();
// Empty when missing.
std::string ExclusionList();
// The upper-cased name occurs anywhere in the upper-cased exclusion list.
bool MiniportExcluded(const std::string& name);

// Adds the name to an existing list ("" or "A;B"), or removes its first occurrence with
// one separator; writes the whole list in upper case, and nothing when there is nothing
// to change or no list.
void ExcludeMiniport(const std::string& name);
void IncludeMiniport(const std::string& name);

// The Windows 95/98 counterpart, only ever reported.
bool Win9xExclusionListExists();
std::string Win9xExclusionList();

// Run at start before the ASPI manager is loaded. On Windows NT 4.0 asks (Yes/No) before
// excluding the virtual-drive miniport FASTCDMP and before including ATAPI or PIIXIDE; on
// Windows 2000 builds 2072 and 2128 before including ATAPI. Any other Windows is not
// examined. True when the user said Yes to a correction: the caller then shows
// lg_RESTART_WINDOWS once (information box) and ends the program.
bool CheckAspiConfiguration();
