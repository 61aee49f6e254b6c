#pragma once
// The ASPI manager binding (WNASPI32.DLL, loaded at run time, or the built-in SCSI
// pass-through of SptiManager.h) and the host adapter table.
// Written only by InitASPI32 on the main thread before any target exists; read-only after.
#include <cstdint>
#include <string>

constexpr uint8_t kMaxHostAdaptors = 8;

struct HostAdaptor {
    uint8_t ID = 0;              // SCSI id of the adapter itself
    std::string Identifier;      // filtered HA_Identifier
    std::string HA_UniqueText;   // dump of a rejected HA_Unique block, else empty
    uint32_t MaxTLen = 0;
    uint8_t MaxTargets = 0;      // 8 or 16
    bool Residual = false;
    uint32_t Align = 0;          // a buffer p is acceptable when (p & Align) == 0
};

// Loads and binds the manager once; true when both required entry points are bound.
bool LoadASPI32();
// Reads the support info and inquires every host adapter. False when the status text is
// set or an adapter inquiry failed; true with a count of 0 when there are no adapters.
bool InitASPI32();
// Program end, and between tests: count 0, table and texts cleared, library released.
void UnloadASPI32();

// Empty when the manager is usable; else the reason ("not LoadASPI32", "SS_NO_ADAPTERS", ...).
const std::string& ASPIStatusText();
uint8_t HostAdaptorCount();
// Full path of the loaded manager; empty when loading failed or the pass-through is bound.
const std::string& ASPIDLLPath();
// True while the built-in SCSI pass-through of Windows NT stands in for WNASPI32.DLL,
// which was missing or knew no host adapter.
bool ASPIPassThrough();

// Record of adapter ha; asserts ha < HostAdaptorCount().
const HostAdaptor& HostAdaptorRecord(uint8_t ha);
std::string HostAdaptorName(uint8_t ha);
std::string HostAdaptorInfo(uint8_t ha);

// Passes an SRB to the bound manager; asserts that the manager is loaded. timeoutMs is how
// long the caller waits for the completion: the pass-through and a manager exporting
// SendASPI32CommandTimeout bound the command by it, a library has no use for it.
uint32_t ASPISendCommand(void* srb, uint32_t timeoutMs);

// The characters kept from adapter identifiers and vendor-specific inquiry bytes.
bool IsIdentifierChar(uint8_t c);
